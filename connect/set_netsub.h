// The profile list page of the settings area: lists config.ran, shows the
// default profile, and adds, edits, deletes and sets the default profile.
#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class TImageButton;
class TSet_netpopform;
class TSet_netpopeditform;

class TSet_netsub : public QWidget {
    Q_OBJECT
public:
    // The dialogs are the long-lived ones of the program (created earlier).
    TSet_netsub(QWidget* parent, TSet_netpopform* addDialog, TSet_netpopeditform* editDialog);
    ~TSet_netsub() override;

    void FormShow();
    void ListBoxFileNameClick();
    void AddButtonClick();
    void EditButtonClick();
    void DeleteButtonClick();
    void DefaultButtonClick();

    QLabel* Label_UserCFG;
    QLabel* Label_FileName;
    QLabel* Label_Default;
    QListWidget* ListBoxFileName;
    QLineEdit* Edit_Default;
    TImageButton* AddButton;
    TImageButton* EditButton;
    TImageButton* DeleteButton;
    TImageButton* DefaultButton;

protected:
    void showEvent(QShowEvent*) override;
    void paintEvent(QPaintEvent*) override;

private:
    QStringList names() const;
    void passModemParameters();
    TSet_netpopform* add_;
    TSet_netpopeditform* edit_;
};
