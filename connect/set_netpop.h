// The two profile dialogs, add and edit, on one layout: name, number,
// credentials, APN, DNS, PDP address, PDP type and authentication.
#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>

#include "connect/domain/profile.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QFrame;
class TImageButton;
class TIPAddressEdit;

class TSet_netpopbase : public QDialog {
    Q_OBJECT
public:
    explicit TSet_netpopbase(QWidget* owner, const char* name);

    // Shows the dialog modally (or lets the test responder answer): 1 saved, 2 not.
    int exec() override;
    static void SetResponder(std::function<int(TSet_netpopbase&)> responder);

    // The names of the profile list, for the duplicate check.
    QStringList ListNames;

    QLineEdit* Edit_filename;
    QLineEdit* Edit_login_no;
    QLineEdit* Edit_user_name;
    QLineEdit* Edit_password;
    QRadioButton* Radio_auto_APN;
    QRadioButton* Radio_manul_APN;
    QLineEdit* Edit_manual_APN;
    QRadioButton* Radio_auto_DNS;
    QRadioButton* Radio_manual_DNS;
    QRadioButton* Radio_auto_PDP;
    QRadioButton* Radio_manual_PDP;
    QRadioButton* Radio_IP_PDP;
    QRadioButton* Radio_PPP_PDP;
    QRadioButton* Radio_PAP;
    QRadioButton* Radio_CHAP;
    QCheckBox* Check_Ask;
    QCheckBox* Check_Save;
    TImageButton* OkButton;
    TImageButton* CancelButton;
    TImageButton* ImImage_Close;
    TIPAddressEdit* PrimaryDns;
    TIPAddressEdit* AlternateDns;
    TIPAddressEdit* PdpAddress;
    QFrame* DnsPanel;
    QFrame* PdpPanel;
    QLabel* Label_name;
    QLabel* Label_number;
    QLabel* Label_user;
    QLabel* Label_password;
    QLabel* Label_APN;
    QLabel* Label_PrimaryDns;
    QLabel* Label_AlternateDns;
    QLabel* Label_PdpAddress;

    virtual void OkButtonClick() = 0;
    void CancelButtonClick();

    // Enable rules of the choices.
    void FollowApnChoice();
    void FollowDnsChoice();
    void FollowPdpChoice();
    void FollowSaveChoice();

protected:
    // Checks 1 to 4 (APN, DNS, PDP address, empty name); false after a message.
    bool CheckInputs();
    // The record the dialog shows; emptyForZero stores "0.0.0.0" as an empty text.
    ProfileRecord BuildRecord(bool emptyForZero) const;
    void refuse(unsigned id);
    void paintEvent(QPaintEvent*) override;
};

class TSet_netpopform : public TSet_netpopbase {
    Q_OBJECT
public:
    explicit TSet_netpopform(QWidget* owner);
    // Empties the inputs and selects the automatic choices.
    void FormShow();
    void OkButtonClick() override;
    // The name added by the last successful OK.
    QString AddedName;

protected:
    void showEvent(QShowEvent*) override;
};

class TSet_netpopeditform : public TSet_netpopbase {
    Q_OBJECT
public:
    explicit TSet_netpopeditform(QWidget* owner);
    // Shows record; readOnly for the built-in profiles.
    void LoadRecord(const ProfileRecord& record, bool readOnly);
    void OkButtonClick() override;

    ProfileRecord OldRecord{};
    ProfileRecord NewRecord{};
    QString TrimmedName;   // what the list shows after a successful OK
};
