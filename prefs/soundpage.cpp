#include "prefs/soundpage.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <cstring>

#include "app/messagebox.h"
#include "app/windows.h"
#include "connect/connect_host.h"
#include "core/allsettings.h"
#include "core/messages.h"
#include "core/strings.h"
#include "platform/codepage.h"
#include "platform/paths.h"
#include "prefs/setmenu.h"
#include "widgets/imagebutton.h"
#include "widgets/skin.h"

namespace {
constexpr int kWidth = 433;
constexpr int kHeight = 271;

struct RowSpec {
    const char *label, *mute, *file, *browse;
    unsigned text;
    EventSound AllSettings::*field;
};
const RowSpec kRowSpecs[TSet_soundform::kRows] = {
    {"Label_NetConnect", "CheckBox_NetConnect", "Edit_NetConnect", "BrowerButton1", 3074, &AllSettings::connected},
    {"Label2", "CheckBox2", "Edit2", "BrowerButton2", 3075, &AllSettings::disconnected},
    {"Label3", "CheckBox3", "Edit3", "BrowerButton3", 3076, &AllSettings::newSms},
    {"Label4", "CheckBox4", "Edit4", "BrowerButton4", 3077, &AllSettings::incomingCall},
};

std::function<QString(QFileDialog&)>& browseResponder() {
    static std::function<QString(QFileDialog&)> r;
    return r;
}
}  // namespace

void TSet_soundform::SetBrowseResponder(std::function<QString(QFileDialog&)> r) { browseResponder() = std::move(r); }

TSet_soundform::TSet_soundform(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TSet_soundform"));
    setGeometry(183, 10, kWidth, kHeight);
    setStyleSheet(QString::fromLatin1(skin::StyleSheet()));
    setWindowTitle(GetString(3022));
    auto* heading = new QLabel(GetString(3022), this);
    heading->setObjectName(QStringLiteral("Label_SoundTitle"));
    heading->setGeometry(16, 10, 300, 24);
    heading->setStyleSheet(QStringLiteral("color: #154f82; font-size: 11pt; font-weight: bold;"));

    for (int i = 0; i < kRows; ++i) {
        const RowSpec& s = kRowSpecs[i];
        Row& r = Rows[i];
        const int y = 40 + i * 46;
        r.label = new QLabel(GetString(s.text), this);
        r.label->setObjectName(QString::fromLatin1(s.label));
        r.label->setGeometry(16, y, 250, 18);
        r.mute = new QCheckBox(GetString(3078), this);
        r.mute->setObjectName(QString::fromLatin1(s.mute));
        r.mute->setGeometry(330, y - 2, 90, 18);
        r.file = new QLineEdit(this);
        r.file->setObjectName(QString::fromLatin1(s.file));
        r.file->setGeometry(16, y + 18, 304, 24);
        r.file->setReadOnly(true);
        r.browse = new TImageButton(this, s.browse);
        r.browse->setText(GetString(3079));
        r.browse->setGeometry(330, y + 16, 86, 28);
        r.dialog = new QFileDialog(this);
        r.dialog->setObjectName(QStringLiteral("OpenDialog%1").arg(i + 1));
        r.dialog->setNameFilter(QStringLiteral("(*.wav;*.mid;*.mp3;*.wma) (*.wav *.mid *.mp3 *.wma)"));
        r.dialog->setFileMode(QFileDialog::ExistingFile);
        r.dialog->setDirectory(paths::NativePath(QStringLiteral(".\\resource\\sound")));
        connect(r.mute, &QCheckBox::clicked, this, [this] { ApplyButton->setEnabled(true); });
        connect(r.file, &QLineEdit::textChanged, this, [this] { ApplyButton->setEnabled(true); });
        connect(r.browse, &QAbstractButton::clicked, this, [this, i] { BrowerButtonClick(i); });
    }
    ApplyButton = new TImageButton(this, "ApplyButton");
    ApplyButton->setText(GetString(10));
    ApplyButton->setGeometry(kWidth - 204, kHeight - 38, 90, 30);
    CancelButton = new TImageButton(this, "CancelButton");
    CancelButton->setText(GetString(7));
    CancelButton->setGeometry(kWidth - 106, kHeight - 38, 90, 30);
    ApplyButton->setEnabled(false);
    connect(ApplyButton, &QAbstractButton::clicked, this, [this] { ApplyButtonClick(); });
    connect(CancelButton, &QAbstractButton::clicked, this, [this] { CancelButtonClick(); });
    hide();
    windows::Register("TSet_soundform", this);
}

TSet_soundform::~TSet_soundform() { windows::Unregister("TSet_soundform"); }

LRESULT TSet_soundform::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == UM_CALL_STATE || msg == UM_DATA_STATE) return 0;
    return MessageTarget::WndProc(msg, wParam, lParam);
}

void TSet_soundform::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    FormShow();
}

void TSet_soundform::FormShow() {
    host::SetMainTitle(GetString(3022));
    if (auto* menu = windows::Get<TSetMenuForm>("TSetMenuForm")) menu->MarkPageShown(TSetMenuForm::PageSounds);
    const AllSettings& a = AllSettingsRecord();
    for (int i = 0; i < kRows; ++i) {
        const EventSound& s = a.*(kRowSpecs[i].field);
        Rows[i].mute->setChecked(s.muted != 0);
        Rows[i].file->setText(codepage::ToQString(s.file, sizeof s.file));
    }
    ApplyButton->setEnabled(false);
}

void TSet_soundform::BrowerButtonClick(int row) {
    Row& r = Rows[row];
    const QString cwd = QDir::currentPath();
    QString chosen;
    if (browseResponder()) {
        chosen = browseResponder()(*r.dialog);
    } else if (r.dialog->exec() == QDialog::Accepted && !r.dialog->selectedFiles().isEmpty()) {
        chosen = r.dialog->selectedFiles().first();
    }
    // A cancelled dialog still holds the file it gave last time.
    if (!chosen.isEmpty()) r.lastChosen = chosen;
    if (!r.lastChosen.isEmpty()) r.file->setText(r.lastChosen);
    QDir::setCurrent(cwd);
}

void TSet_soundform::ApplyButtonClick() {
    AllSettings& a = AllSettingsRecord();
    for (int i = 0; i < kRows; ++i) {
        EventSound& s = a.*(kRowSpecs[i].field);
        s.muted = 0;
        std::memset(s.file, 0, sizeof s.file);
        s.muted = Rows[i].mute->isChecked() ? 1 : 0;
        // Cut on a character boundary, leaving room for the terminating NUL.
        const QByteArray name = codepage::FromQString(Rows[i].file->text());
        codepage::CopyText(s.file, sizeof s.file, name.constData(), static_cast<std::size_t>(name.size()));
    }
    if (SaveAllSettings() != 0) {
        ShowMessageBox(this, GetString(3018), 2);
        return;
    }
    ShowMessageBox(this, GetString(3033), 1);
    ApplyButton->setEnabled(false);
}

void TSet_soundform::CancelButtonClick() {
    if (auto* menu = windows::Get<TSetMenuForm>("TSetMenuForm")) {
        menu->CfgfileButtonClick();
    } else if (QWidget* list = windows::Find("TSet_netsub")) {
        list->hide();
        list->show();
    }
    hide();
}

void TSet_soundform::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(skin::kBorder, 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
}
