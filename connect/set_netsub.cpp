#include "connect/set_netsub.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>

#include "app/messagebox.h"
#include "app/windows.h"
#include "connect/connect_host.h"
#include "connect/domain/profile.h"
#include "connect/set_netpop.h"
#include "core/strings.h"
#include "platform/codepage.h"
#include "prefs/setmenu.h"
#include "velkdev/velkdev.h"
#include "widgets/imagebutton.h"
#include "widgets/skin.h"

namespace {
constexpr int kWidth = 433;
constexpr int kHeight = 271;
QString nameOf(const ProfileRecord& r) { return codepage::ToQString(r.name, sizeof r.name); }
std::string bytes(const QString& s) { return codepage::FromQString(s).toStdString(); }
}  // namespace

TSet_netsub::TSet_netsub(QWidget* parent, TSet_netpopform* addDialog, TSet_netpopeditform* editDialog)
    : QWidget(parent), add_(addDialog), edit_(editDialog) {
    setObjectName(QStringLiteral("TSet_netsub"));
    setWindowTitle(GetString(3155));  // the caption the main window shows for this page
    setGeometry(183, 10, kWidth, kHeight);
    setStyleSheet(QString::fromLatin1(skin::StyleSheet()));
    auto label = [this](const char* name, const QRect& r) {
        auto* l = new QLabel(this);
        l->setObjectName(QString::fromLatin1(name));
        l->setGeometry(r);
        return l;
    };
    Label_UserCFG = label("Label_UserCFG", QRect(16, 10, kWidth - 24, 24));
    Label_UserCFG->setStyleSheet(QStringLiteral("color: #154f82; font-size: 11pt; font-weight: bold;"));
    Label_FileName = label("Label_FileName", QRect(16, 40, 220, 20));
    ListBoxFileName = new QListWidget(this);
    ListBoxFileName->setObjectName(QStringLiteral("ListBoxFileName"));
    ListBoxFileName->setGeometry(16, 60, 260, 150);
    Label_Default = label("Label_Default", QRect(16, 222, 110, 22));
    Edit_Default = new QLineEdit(this);
    Edit_Default->setObjectName(QStringLiteral("Edit_Default"));
    Edit_Default->setGeometry(126, 220, 150, 24);
    Edit_Default->setReadOnly(true);
    AddButton = new TImageButton(this, "AddButton");
    EditButton = new TImageButton(this, "EditButton");
    DeleteButton = new TImageButton(this, "DeleteButton");
    DefaultButton = new TImageButton(this, "DefaultButton");
    int y = 60;
    for (TImageButton* b : {AddButton, EditButton, DeleteButton, DefaultButton}) {
        b->setGeometry(294, y, 120, 30);
        y += 40;
    }
    connect(ListBoxFileName, &QListWidget::currentRowChanged, this, [this] { ListBoxFileNameClick(); });
    connect(AddButton, &QAbstractButton::clicked, this, [this] { AddButtonClick(); });
    connect(EditButton, &QAbstractButton::clicked, this, [this] { EditButtonClick(); });
    connect(DeleteButton, &QAbstractButton::clicked, this, [this] { DeleteButtonClick(); });
    connect(DefaultButton, &QAbstractButton::clicked, this, [this] { DefaultButtonClick(); });

    Label_UserCFG->setText(GetString(3034));
    Label_FileName->setText(GetString(3035));
    Label_Default->setText(GetString(3036));
    AddButton->setText(GetString(3037));
    EditButton->setText(GetString(3038));
    DeleteButton->setText(GetString(3039));
    DefaultButton->setText(GetString(3040));
    hide();
    windows::Register("TSet_netsub", this);
}

TSet_netsub::~TSet_netsub() { windows::Unregister("TSet_netsub"); }

QStringList TSet_netsub::names() const {
    QStringList n;
    for (int i = 0; i < ListBoxFileName->count(); ++i) n << ListBoxFileName->item(i)->text();
    return n;
}

void TSet_netsub::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    FormShow();
}

void TSet_netsub::FormShow() {
    if (auto* menu = windows::Get<TSetMenuForm>("TSetMenuForm")) menu->MarkPageShown(TSetMenuForm::PageProfiles);
    host::SetMainTitle(GetString(3155));
    ListBoxFileName->clear();
    for (TImageButton* b : {AddButton, EditButton, DeleteButton, DefaultButton}) b->setEnabled(true);
    std::vector<ProfileRecord> records;
    const auto r = profiles::ReadAll(&records);
    if (r == profiles::ListResult::CannotOpen) {
        ShowMessageBox(this, GetString(3050), 2);
        return;
    }
    for (const auto& rec : records) ListBoxFileName->addItem(nameOf(rec));
    if (r == profiles::ListResult::Damaged) {
        // Only whole records are listed; nothing may be changed on top of a damaged file.
        ShowMessageBox(this, GetString(3050), 2);
        for (TImageButton* b : {AddButton, EditButton, DeleteButton, DefaultButton}) b->setEnabled(false);
        return;
    }
    ProfileRecord def{};
    if (profiles::ReadDefaultFile(&def)) {
        Edit_Default->setText(nameOf(def));
    } else {
        ShowMessageBox(this, GetString(3051), 2);
    }
}

void TSet_netsub::ListBoxFileNameClick() {
    const int row = ListBoxFileName->currentRow();
    const bool builtIn = row >= 0 && row < profiles::kBuiltInCount;
    DeleteButton->setEnabled(!builtIn && AddButton->isEnabled());
    EditButton->setText(GetString(builtIn ? 3156 : 3038));
}

void TSet_netsub::passModemParameters() {
    if (host::DeviceState() != 12) return;
    const auto m = profiles::ModemParametersOf(profiles::CurrentProfile());
    Velk_SetModemPara(m.pdpType.c_str(), m.apn.c_str(), m.pdpAddress.c_str());
}

void TSet_netsub::AddButtonClick() {
    add_->ListNames = names();
    if (add_->exec() == 1) {
        ListBoxFileName->addItem(add_->AddedName);
        ListBoxFileName->update();
    }
}

void TSet_netsub::EditButtonClick() {
    const int row = ListBoxFileName->currentRow();
    if (row < 0) {
        ShowMessageBox(this, GetString(3049), 1);
        return;
    }
    ProfileRecord r{};
    // Only a stored record may be shown for editing: OK would overwrite it.
    if (!profiles::Find(bytes(ListBoxFileName->item(row)->text()), &r)) {
        ShowMessageBox(this, GetString(3050), 2);
        return;
    }
    edit_->ListNames = names();
    edit_->LoadRecord(r, row < profiles::kBuiltInCount);
    if (edit_->exec() != 1) return;
    const QString oldName = nameOf(edit_->OldRecord);
    ListBoxFileName->item(row)->setText(edit_->TrimmedName);
    if (Edit_Default->text() == oldName) {
        Edit_Default->setText(edit_->TrimmedName);
        if (!profiles::WriteDefault(edit_->NewRecord)) ShowMessageBox(this, GetString(3050), 2);
        passModemParameters();
    }
    ListBoxFileName->update();
}

void TSet_netsub::DeleteButtonClick() {
    const int row = ListBoxFileName->currentRow();
    if (row < 0) {
        ShowMessageBox(this, GetString(3049), 1);
        return;
    }
    const QString name = ListBoxFileName->item(row)->text();
    if (bytes(name) == profiles::Field(profiles::CurrentProfile().name)) {
        ShowMessageBox(this, GetString(3052), 2);
        return;
    }
    if (AskMessageBox(this, GetString(3160), 3) != 1) return;
    if (!profiles::Delete(bytes(name))) {
        ShowMessageBox(this, GetString(3050), 2);
        return;
    }
    delete ListBoxFileName->takeItem(row);
}

void TSet_netsub::DefaultButtonClick() {
    const int row = ListBoxFileName->currentRow();
    if (row < 0) {
        ShowMessageBox(this, GetString(3049), 1);
        return;
    }
    const QString name = ListBoxFileName->item(row)->text();
    if (!profiles::SetDefault(bytes(name))) {
        ShowMessageBox(this, GetString(3050), 2);
        return;
    }
    Edit_Default->setText(name);
    passModemParameters();
}

void TSet_netsub::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(skin::kBorder, 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
}
