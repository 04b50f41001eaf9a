// An IP-address input: four number fields of 0 to 255 separated by dots.
// Its text is always dotted decimal, "0.0.0.0" when nothing was typed.
#pragma once

#include <QWidget>

class QLineEdit;

class TIPAddressEdit : public QWidget {
    Q_OBJECT
public:
    explicit TIPAddressEdit(QWidget* parent, const char* name);
    // Dotted decimal; empty fields count as 0.
    QString Text() const;
    // Takes "a.b.c.d"; missing or bad parts leave their field empty.
    void SetText(const QString& text);
    void Clear();
    QLineEdit* Field(int i) const { return fields_[i]; }

protected:
    void paintEvent(QPaintEvent*) override;
    void changeEvent(QEvent*) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    QLineEdit* fields_[4];
};
