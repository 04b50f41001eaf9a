// The settings menu: a column of buttons beside one settings page at a time
// (profiles, security, network, SMS, sounds). It switches the pages, keeps
// track of the page shown and enables a page's card-dependent controls.
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>

#include "app/devicestate.h"

class TImageButton;

class TSetMenuForm : public QWidget, public DeviceStateListener {
    Q_OBJECT
public:
    enum Page : std::uint8_t { PageNone = 0, PageProfiles = 1, PageSecurity = 2, PageNetwork = 3, PageSms = 4, PageSounds = 5 };

    explicit TSetMenuForm(QWidget* parent);
    ~TSetMenuForm() override;

    void DeviceStateChanged(std::uint8_t code) override { deviceState_ = code; }
    std::uint8_t DeviceState() const { return deviceState_; }
    std::uint8_t PageShown() const { return page_; }
    // A page tells the menu it is the one shown: its button disabled, the others enabled.
    void MarkPageShown(Page page);

    void CfgfileButtonClick();
    void SafecfgButtonClick();
    void NetcfgButtonClick();
    void MsgcfgButtonClick();
    void SoundcfgButtonClick();
    // The toolbar's settings button: the menu with the profile list.
    void OpenFromToolbar();

    // Busy flags kept by the network page: a data connection that is not idle,
    // a call that exists. Read through hooks so the menu works before that page exists.
    std::function<bool()> DataBusy;
    std::function<bool()> CallBusy;

    TImageButton* CfgfileButton;
    TImageButton* SafecfgButton;
    TImageButton* NetcfgButton;
    TImageButton* MsgcfgButton;
    TImageButton* SoundcfgButton;
    TImageButton* RestorecfgButton;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void showPage(Page page, const char* windowName);
    TImageButton* buttonOf(Page page) const;
    std::uint8_t deviceState_ = 0;
    std::uint8_t page_ = PageNone;
};
