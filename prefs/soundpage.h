// The event-sound page: for data connected, data disconnected, new SMS and
// incoming call a mute box and a sound file, stored in the all-settings record.
#pragma once

#include <QWidget>
#include <functional>

#include "platform/winmsg.h"

class QCheckBox;
class QFileDialog;
class QLabel;
class QLineEdit;
class TImageButton;

class TSet_soundform : public QWidget, public MessageTarget {
    Q_OBJECT
public:
    explicit TSet_soundform(QWidget* parent);
    ~TSet_soundform() override;

    static constexpr int kRows = 4;
    struct Row {
        QLabel* label;
        QCheckBox* mute;
        QLineEdit* file;
        TImageButton* browse;
        QFileDialog* dialog;
        QString lastChosen;   // what the row's dialog gave last time
    };
    Row Rows[kRows];
    TImageButton* ApplyButton;
    TImageButton* CancelButton;

    void FormShow();
    void BrowerButtonClick(int row);
    void ApplyButtonClick();
    void CancelButtonClick();

    // Tests choose the file instead of a dialog: returns the chosen path
    // (empty: cancelled).
    static void SetBrowseResponder(std::function<QString(QFileDialog&)> responder);

    // 1126 (call state) and 1127 (data state) arrive here and are ignored.
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

protected:
    void showEvent(QShowEvent*) override;
    void paintEvent(QPaintEvent*) override;
};
