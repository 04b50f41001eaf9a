// The profile list page and its dialogs, the IP-address edit, the settings
// menu and the sound page.
#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <cstring>

#include "connect/connect_host.h"
#include "connect/domain/profile.h"
#include "connect/set_netpop.h"
#include "connect/set_netsub.h"
#include "core/allsettings.h"
#include "platform/files.h"
#include "prefs/setmenu.h"
#include "prefs/soundpage.h"
#include "tests/fixture/ui_fixture.h"
#include "velkdev/sim/control.h"
#include "widgets/imagebutton.h"
#include "widgets/ipedit.h"

namespace {

TEST(IPAddressEdit, TextIsDottedDecimalAndZeroWhenEmpty) {
    TIPAddressEdit e(nullptr, "ip");
    EXPECT_EQ(e.Text(), "0.0.0.0");
    e.SetText("10.1.200.255");
    EXPECT_EQ(e.Text(), "10.1.200.255");
    e.SetText("300.2");   // a bad part and missing parts stay empty
    EXPECT_EQ(e.Text(), "0.2.0.0");
    e.Clear();
    EXPECT_EQ(e.Text(), "0.0.0.0");
}

class ProfilePages : public UiFixture {
protected:
    void SetUp() override {
        UiFixture::SetUp();
        velk_sim::ResetScenario();
        velk_sim::SetInstantTiming(true);
        StartCore();
        ASSERT_TRUE(profiles::LoadDefault());
        ResetHost();
        Host().DeviceState = [this] { return deviceState; };
        panel = new QWidget;
        add = new TSet_netpopform(panel);
        edit = new TSet_netpopeditform(panel);
        page = new TSet_netsub(panel, add, edit);
        page->FormShow();
    }
    void TearDown() override {
        TSet_netpopbase::SetResponder({});
        delete panel;
        ResetHost();
        UiFixture::TearDown();
    }
    QStringList listed() const {
        QStringList n;
        for (int i = 0; i < page->ListBoxFileName->count(); ++i) n << page->ListBoxFileName->item(i)->text();
        return n;
    }
    void select(const QString& name) { page->ListBoxFileName->setCurrentRow(listed().indexOf(name)); }
    // Answers the next dialog: fill it, press OK; the result is the dialog's.
    void respond(std::function<void(TSet_netpopbase&)> fill, int* calls = nullptr) {
        TSet_netpopbase::SetResponder([fill, calls](TSet_netpopbase& d) {
            if (calls) ++*calls;
            d.setResult(0);
            fill(d);
            d.OkButtonClick();
            return d.result() == 1 ? 1 : 2;
        });
    }
    ProfileRecord stored(const std::string& name) {
        ProfileRecord r{};
        EXPECT_TRUE(profiles::Find(name, &r)) << name;
        return r;
    }
    QWidget* panel = nullptr;
    TSet_netpopform* add = nullptr;
    TSet_netpopeditform* edit = nullptr;
    TSet_netsub* page = nullptr;
    std::uint8_t deviceState = 12;
};

TEST_F(ProfilePages, ListShowsTheProfilesAndBuiltInsCannotBeDeleted) {
    EXPECT_EQ(listed(), (QStringList{"Linkora Default", "Internet APN", "Context 1 CHAP"}));
    EXPECT_EQ(page->Edit_Default->text(), "Linkora Default");
    for (int row : {0, 1, 2}) {
        page->ListBoxFileName->setCurrentRow(row);
        EXPECT_FALSE(page->DeleteButton->isEnabled());
        EXPECT_EQ(page->EditButton->text(), Text(3156));
    }
    respond([](TSet_netpopbase& d) { d.Edit_filename->setText("Mine"); });
    page->AddButtonClick();
    select("Mine");
    EXPECT_TRUE(page->DeleteButton->isEnabled());
    EXPECT_EQ(page->EditButton->text(), Text(3038));
}

TEST_F(ProfilePages, ADamagedFileDisablesTheButtonsAndListsOnlyWholeRecords) {
    QByteArray d = files::ReadAll(profiles::ConfigPath()).value();
    d.chop(100);   // the last record cut short
    ASSERT_TRUE(files::WriteAtomic(profiles::ConfigPath(), d, true));
    page->FormShow();
    EXPECT_TRUE(Shown(Text(3050)));
    EXPECT_EQ(listed(), (QStringList{"Linkora Default", "Internet APN"}));
    for (auto* b : {page->AddButton, page->EditButton, page->DeleteButton, page->DefaultButton}) EXPECT_FALSE(b->isEnabled());
    QFile::remove(profiles::ConfigPath());
    boxes_.clear();
    page->FormShow();
    EXPECT_TRUE(Shown(Text(3050)));
}

TEST_F(ProfilePages, AddChecksItsInputsInOrder) {
    struct Case {
        const char* what;
        std::function<void(TSet_netpopbase&)> fill;
        unsigned text;
    } cases[] = {
        {"manual APN empty", [](TSet_netpopbase& d) { d.Radio_manul_APN->setChecked(true); d.Edit_filename->clear(); }, 3111},
        {"manual DNS both zero", [](TSet_netpopbase& d) { d.Radio_manual_DNS->setChecked(true); d.PrimaryDns->Clear(); d.AlternateDns->Clear(); }, 3112},
        {"manual PDP zero", [](TSet_netpopbase& d) { d.Radio_manual_PDP->setChecked(true); d.PdpAddress->Clear(); }, 3113},
        {"blank name", [](TSet_netpopbase& d) { d.Edit_filename->setText("   "); }, 3059},
        {"same name", [](TSet_netpopbase& d) { d.Edit_filename->setText("Internet APN"); }, 3060},
    };
    for (auto& c : cases) {
        boxes_.clear();
        respond(c.fill);
        page->AddButtonClick();
        ASSERT_EQ(boxes_.size(), 1u) << c.what;
        EXPECT_EQ(boxes_[0].text, Text(c.text)) << c.what;
        EXPECT_EQ(boxes_[0].kind, 1) << c.what;
        EXPECT_EQ(listed().size(), 3) << c.what;
    }
}

TEST_F(ProfilePages, ABlankPaddedNameIsStoredAsTypedAndEditListsItTrimmed) {
    respond([](TSet_netpopbase& d) {
        d.Edit_filename->setText(" Internet APN ");   // not the same as "Internet APN" for the add dialog
        d.Radio_manual_DNS->setChecked(true);
        d.PrimaryDns->SetText("8.8.8.8");
        d.AlternateDns->Clear();
        d.Check_Save->setChecked(true);
        d.FollowSaveChoice();
        d.Edit_user_name->setText("me");
    });
    page->AddButtonClick();
    ASSERT_EQ(listed().back(), " Internet APN ");
    ProfileRecord r = stored(" Internet APN ");
    EXPECT_EQ(profiles::Field(r.dns2), "0.0.0.0");   // the add dialog keeps the zero address
    EXPECT_EQ(profiles::Unscramble(r.userName), "me");

    // The edit dialog compares the trimmed name with the other names...
    select(" Internet APN ");
    respond([](TSet_netpopbase& d) {});
    page->EditButtonClick();
    EXPECT_TRUE(Shown(Text(3060)));
    // ...stores the name as typed and lists it trimmed.
    boxes_.clear();
    respond([](TSet_netpopbase& d) { d.Edit_filename->setText(" Padded "); });
    page->EditButtonClick();
    EXPECT_TRUE(boxes_.empty());
    EXPECT_EQ(listed().back(), "Padded");
    r = stored(" Padded ");
    EXPECT_EQ(profiles::Field(r.dns2), "");   // the edit dialog stores the zero address as empty
    // The trimmed name is not a stored name: editing it again is refused
    // instead of overwriting whatever record was read last.
    int calls = 0;
    respond([](TSet_netpopbase& d) {}, &calls);
    page->EditButtonClick();
    EXPECT_EQ(calls, 0);
    EXPECT_TRUE(Shown(Text(3050)));
    EXPECT_EQ(listed().size(), 4);
    EXPECT_EQ(stored("Internet APN").apn, std::string("internet"));
}

TEST_F(ProfilePages, BuiltInProfilesOpenReadOnly) {
    select("Internet APN");
    respond([](TSet_netpopbase& d) {
        for (QWidget* w : std::initializer_list<QWidget*>{d.Edit_filename, d.Edit_manual_APN, d.Radio_auto_APN,
                                                          d.Radio_manul_APN, d.PrimaryDns, d.PdpAddress, d.Check_Save})
            EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
        EXPECT_EQ(d.Edit_manual_APN->text(), "internet");
        EXPECT_TRUE(d.OkButton->isEnabled());
    });
    page->EditButtonClick();
    EXPECT_EQ(profiles::Field(stored("Internet APN").apn), "internet");
}

TEST_F(ProfilePages, EditingTheDefaultProfileRewritesItAndTellsTheCard) {
    // Make a profile of our own the default.
    respond([](TSet_netpopbase& d) {
        d.Edit_filename->setText("Work");
        d.Radio_manul_APN->setChecked(true);
        d.Edit_manual_APN->setText("corp.apn");
    });
    page->AddButtonClick();
    select("Work");
    page->DefaultButtonClick();
    EXPECT_EQ(page->Edit_Default->text(), "Work");
    EXPECT_EQ(velk_sim::GetModemPara().apn, "corp.apn");

    respond([](TSet_netpopbase& d) {
        d.Edit_manual_APN->setText("corp2.apn");
        d.Radio_PPP_PDP->setChecked(true);
    });
    page->EditButtonClick();
    ProfileRecord def{};
    ASSERT_TRUE(profiles::ReadDefaultFile(&def));
    EXPECT_EQ(profiles::Field(def.apn), "corp2.apn");
    EXPECT_EQ(velk_sim::GetModemPara().apn, "corp2.apn");
    EXPECT_EQ(velk_sim::GetModemPara().pdpType, "PPP");

    // Not ready: the card is not told.
    deviceState = 11;
    select("Internet APN");
    page->DefaultButtonClick();
    EXPECT_EQ(page->Edit_Default->text(), "Internet APN");
    EXPECT_EQ(velk_sim::GetModemPara().apn, "corp2.apn");
}

TEST_F(ProfilePages, DeleteRefusesTheDefaultAsksAndLeavesNoTempFile) {
    page->DeleteButtonClick();
    EXPECT_TRUE(Shown(Text(3049)));
    respond([](TSet_netpopbase& d) { d.Edit_filename->setText("Spare"); });
    page->AddButtonClick();
    select("Spare");
    page->DefaultButtonClick();
    page->DeleteButtonClick();
    EXPECT_TRUE(Shown(Text(3052)));
    select("Linkora Default");
    page->DefaultButtonClick();
    select("Spare");
    Answer({2});
    page->DeleteButtonClick();
    EXPECT_EQ(listed().size(), 4);
    Answer({1});
    page->DeleteButtonClick();
    EXPECT_TRUE(Shown(Text(3160)));
    EXPECT_EQ(listed().size(), 3);
    EXPECT_FALSE(QFile::exists(profiles::TempPath()));
    EXPECT_EQ(files::ReadAll(profiles::ConfigPath())->size(), 3 * 457);
}

// --- settings menu and sound page -------------------------------------------

class SettingsArea : public ProfilePages {
protected:
    void SetUp() override {
        ProfilePages::SetUp();
        menu = new TSetMenuForm(panel);
        sound = new TSet_soundform(panel);
        LoadAllSettings();
        std::strcpy(AllSettingsRecord().newSms.file, ".\\resource\\sound\\wav\\sms.wav");
    }
    void TearDown() override {
        TSet_soundform::SetBrowseResponder({});
        ProfilePages::TearDown();
    }
    TSetMenuForm* menu = nullptr;
    TSet_soundform* sound = nullptr;
};

TEST_F(SettingsArea, MenuButtonsSwitchPagesAndMarkTheirOwn) {
    menu->OpenFromToolbar();
    EXPECT_EQ(menu->PageShown(), TSetMenuForm::PageProfiles);
    EXPECT_FALSE(menu->CfgfileButton->isEnabled());
    EXPECT_TRUE(menu->SoundcfgButton->isEnabled());
    menu->SoundcfgButtonClick();
    EXPECT_EQ(menu->PageShown(), TSetMenuForm::PageSounds);
    EXPECT_FALSE(menu->SoundcfgButton->isEnabled());
    EXPECT_TRUE(menu->CfgfileButton->isEnabled());
    EXPECT_FALSE(sound->isHidden());
    EXPECT_TRUE(page->isHidden());
    sound->CancelButtonClick();
    EXPECT_EQ(menu->PageShown(), TSetMenuForm::PageProfiles);
    EXPECT_TRUE(sound->isHidden());
    EXPECT_FALSE(page->isHidden());
}

TEST_F(SettingsArea, SoundPageAppliesMutesAndFilesAndBrowseKeepsTheLastChoice) {
    sound->FormShow();
    EXPECT_FALSE(sound->ApplyButton->isEnabled());
    const QString before = sound->Rows[2].file->text();
    EXPECT_FALSE(before.isEmpty());

    QString offer = FilePath("ring.wav");
    TSet_soundform::SetBrowseResponder([&](QFileDialog& d) {
        EXPECT_TRUE(d.nameFilters().join(" ").contains("*.mid"));
        return offer;
    });
    sound->BrowerButtonClick(3);
    EXPECT_EQ(sound->Rows[3].file->text(), offer);
    offer.clear();   // cancelled: the last choice is put in again
    sound->Rows[3].file->setText("changed");
    sound->BrowerButtonClick(3);
    EXPECT_EQ(sound->Rows[3].file->text(), FilePath("ring.wav"));

    sound->Rows[2].mute->click();
    EXPECT_TRUE(sound->ApplyButton->isEnabled());
    sound->ApplyButtonClick();
    EXPECT_TRUE(Shown(Text(3033)));
    EXPECT_FALSE(sound->ApplyButton->isEnabled());
    // Written to the file: a muted event keeps its file name.
    AllSettingsRecord() = AllSettings{};
    ASSERT_EQ(LoadAllSettings(), 0);
    EXPECT_EQ(AllSettingsRecord().newSms.muted, 1);
    EXPECT_EQ(QString::fromLatin1(AllSettingsRecord().newSms.file), before);
    EXPECT_EQ(QString::fromLocal8Bit(AllSettingsRecord().incomingCall.file), FilePath("ring.wav"));
}

}  // namespace
