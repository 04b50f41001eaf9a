// The about box: a 388 x 273 window with the large logo, the product texts,
// the card's IMEI and the versions of the card's software and hardware.
#pragma once

#include <QDialog>
#include <utility>
#include <vector>

class QLabel;
class TImageButton;
class TTitleStrip;

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    // innerVersion: the main window's inner-version flag; it shows the
    // inner-version labels. Reads the IMEI (Velk_QueryImei).
    TAboutBox(QWidget* owner, bool innerVersion);

    // Reads the card's software (and, with the flag, inner) version and the
    // hardware version into their labels and shows each one read; a failing
    // read leaves its labels hidden.
    void ReadCardVersions();

    TTitleStrip* Label_Title;
    QLabel* ImImage_Title_Logo;
    QLabel* Image_Logo;
    TImageButton* ImImage_Title_Close;
    QLabel* Label_ProductName;
    QLabel* Label_PCSoftwareVersionCaption;
    QLabel* Label_PCSoftwareVersion;
    QLabel* Label_BoardSoftwareVersionCaption;
    QLabel* Label_BoardSoftwareVersion;
    QLabel* Label_HardwareVersionCaption;
    QLabel* Label_HardwareVersion;
    QLabel* Label_PCSoftwareInterVersionCaption;
    QLabel* Label_PCSoftwareInterVersion;
    QLabel* Label_BoardSoftwareInterVersionCaption;
    QLabel* Label_BoardSoftwareInterVersion;
    QLabel* Label_IMEI;
    QLabel* Label_IMEINumber;

    void ImImage_Title_CloseClick();

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void LayoutRows();
    bool innerVersion_;
    std::vector<std::pair<QLabel*, QLabel*>> rows_;
};

// The about command: creates the box with the inner-version flag, reads the
// card versions when mayReadVersions (the device state is not 1, no call is
// being dialled and the data connection is not dialling, cancelling or
// disconnecting), shows it modally and frees it. The caller clears its
// inner-version flag afterwards.
void RunAboutBox(QWidget* owner, bool innerVersion, bool mayReadVersions);
