#include "connect/datalogform.h"

#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QTreeWidget>
#include <algorithm>

#include "app/messagebox.h"
#include "app/windows.h"
#include "calls/domain/bl_cr.h"
#include "connect/connect_host.h"
#include "core/strings.h"
#include "platform/codepage.h"
#include "widgets/imagebutton.h"
#include "widgets/skin.h"

namespace {
constexpr int kWidth = 628;
constexpr int kHeight = 319;

// A row keeps its own copy of its entry.
class LogRow : public QTreeWidgetItem {
public:
    explicit LogRow(const _VELK_CALL_ENTRY& e) : entry(e) {}
    _VELK_CALL_ENTRY entry;
};

int compareRows(const LogRow* a, const LogRow* b, int column) {
    auto num = [](std::uint32_t x, std::uint32_t y) { return x < y ? -1 : (x > y ? 1 : 0); };
    switch (column) {
    case 4: return num(a->entry.duration, b->entry.duration);
    case 5: return num(a->entry.thirdValue, b->entry.thirdValue);
    case 6: return num(a->entry.secondValue, b->entry.secondValue);
    default:
        if (column >= a->columnCount() || column >= b->columnCount())
            return num(static_cast<std::uint32_t>(a->columnCount()), static_cast<std::uint32_t>(b->columnCount()));
        return QString::compare(a->text(column), b->text(column), Qt::CaseInsensitive);
    }
}
}  // namespace

TDataLogForm::TDataLogForm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TDataLogForm"));
    setGeometry(0, 0, kWidth, kHeight);
    setStyleSheet(QString::fromLatin1(skin::StyleSheet()));
    Today = [] { return QDate::currentDate(); };

    ListViewDataLog = new QTreeWidget(this);
    ListViewDataLog->setObjectName(QStringLiteral("ListViewDataLog"));
    ListViewDataLog->setGeometry(14, 12, kWidth - 28, 222);
    ListViewDataLog->setColumnCount(7);
    ListViewDataLog->setRootIsDecorated(false);
    ListViewDataLog->setUniformRowHeights(true);
    ListViewDataLog->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListViewDataLog->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListViewDataLog->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListViewDataLog->setAlternatingRowColors(true);
    ListViewDataLog->setSortingEnabled(false);
    ListViewDataLog->header()->setSectionsClickable(true);
    ListViewDataLog->header()->setStretchLastSection(false);
    const int widths[] = {0, 92, 138, 138, 66, 90, 72};
    for (int c = 0; c < 7; ++c) ListViewDataLog->setColumnWidth(c, widths[c]);
    ListViewDataLog->setColumnHidden(0, true);
    connect(ListViewDataLog->header(), &QHeaderView::sectionClicked, this, [this](int c) { ColumnClick(c); });
    connect(ListViewDataLog, &QTreeWidget::itemSelectionChanged, this, [this] { updateButtons(); });

    auto label = [this](const char* name, const QRect& r) {
        auto* l = new QLabel(this);
        l->setObjectName(QString::fromLatin1(name));
        l->setGeometry(r);
        return l;
    };
    TotleLabel = label("TotleLabel", QRect(20, 244, 120, 22));
    TotleDataValue = label("TotleDataValue", QRect(142, 244, 120, 22));
    TotalTimeLabel = label("TotalTimeLabel", QRect(20, 270, 120, 22));
    TotalTime = label("TotalTime", QRect(142, 270, 120, 22));
    for (QLabel* l : {TotleDataValue, TotalTime}) l->setStyleSheet(QStringLiteral("font-weight: bold; color: #154f82;"));

    DeleteButton = new TImageButton(this, "DeleteButton");
    DeleteButton->setGeometry(300, 262, 96, 30);
    ClearAllButton = new TImageButton(this, "ClearAllButton");
    ClearAllButton->setGeometry(404, 262, 96, 30);
    ReturnButton = new TImageButton(this, "ReturnButton");
    ReturnButton->setGeometry(508, 262, 96, 30);
    connect(DeleteButton, &QAbstractButton::clicked, this, [this] { DeleteButtonClick(); });
    connect(ClearAllButton, &QAbstractButton::clicked, this, [this] { ClearAllButtonClick(); });
    connect(ReturnButton, &QAbstractButton::clicked, this, [this] { ReturnButtonClick(); });

    TotleDataValue->setText(QString::fromLatin1(datalog::kNothing));
    TotalTime->setText(QString::fromLatin1(datalog::kNothing));
    updateButtons();
    hide();
    windows::Register("TDataLogForm", this);
    // The page fills the main panel it lives in.
    if (parent) resize(std::max(parent->width(), kWidth), std::max(parent->height(), kHeight));
}

TDataLogForm::~TDataLogForm() { windows::Unregister("TDataLogForm"); }

const _VELK_CALL_ENTRY& TDataLogForm::EntryOf(const QTreeWidgetItem* row) { return static_cast<const LogRow*>(row)->entry; }

QString TDataLogForm::cutoffKey() const { return datalog::DateKey(datalog::CutoffDay(Today())); }

bool TDataLogForm::Store(const datalog::ConnectionRecord& record) {
    _VELK_CALL_ENTRY e;
    if (!datalog::MakeEntry(record, &e)) return false;
    return BL_SaveCallEntry(&e) == 0;
}

bool TDataLogForm::Append(const datalog::ConnectionRecord& record) {
    _VELK_CALL_ENTRY e;
    if (!datalog::MakeEntry(record, &e)) return false;
    const bool ok = BL_SaveCallEntry(&e) == 0;
    Load();
    return ok;
}

namespace {
QTreeWidgetItem* makeRow(const _VELK_CALL_ENTRY& e) {
    auto* row = new LogRow(e);
    row->setText(1, codepage::ToQString(e.number, sizeof e.number));
    row->setText(2, datalog::TimeText(datalog::StartOf(e)));
    row->setText(3, datalog::TimeText(datalog::EndOf(e)));
    row->setText(4, datalog::DurationText(e.duration));
    row->setText(5, datalog::KbText(e.thirdValue));
    row->setText(6, datalog::KbText(e.secondValue));
    for (int c = 4; c < 7; ++c) row->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
    return row;
}

void sortList(QList<QTreeWidgetItem*>& rows, int column, int direction) {
    std::stable_sort(rows.begin(), rows.end(), [column, direction](QTreeWidgetItem* a, QTreeWidgetItem* b) {
        return compareRows(static_cast<LogRow*>(a), static_cast<LogRow*>(b), column) * direction < 0;
    });
}
}  // namespace

void TDataLogForm::Load() {
    ListViewDataLog->setUpdatesEnabled(false);
    ListViewDataLog->clear();
    _VELK_CALL_ENTRY e{};
    e.listKind = VELK_CALLS_DATA_LOG;
    e.storage = 2;
    QList<QTreeWidgetItem*> rows;
    std::uint16_t r = BL_GetFirstCallEntry(VELK_CALLS_DATA_LOG, &e);
    while (r == 0) {
        rows.append(makeRow(e));
        r = BL_GetNextCallEntry(&e);
    }
    sortList(rows, sortColumn_, sortDirection_);
    ListViewDataLog->addTopLevelItems(rows);
    computeTotals();
    ListViewDataLog->setUpdatesEnabled(true);
    updateButtons();
}

void TDataLogForm::Prune() {
    const QString cutoff = cutoffKey();
    for (int i = ListViewDataLog->topLevelItemCount() - 1; i >= 0; --i) {
        auto* row = static_cast<LogRow*>(ListViewDataLog->topLevelItem(i));
        if (datalog::DateKey(row->entry) < cutoff && BL_DeleteCallEntry(row->entry.index, row->entry.storage) == 0)
            delete row;
    }
    Load();
}

void TDataLogForm::computeTotals() {
    const QString cutoff = cutoffKey();
    datalog::Totals t;
    for (int i = 0; i < ListViewDataLog->topLevelItemCount(); ++i)
        datalog::AddToTotals(t, EntryOf(ListViewDataLog->topLevelItem(i)), cutoff);
    TotleDataValue->setText(datalog::TotalDataText(t));
    TotalTime->setText(datalog::TotalTimeText(t));
}

void TDataLogForm::sortRows() {
    QList<QTreeWidgetItem*> rows;
    rows.reserve(ListViewDataLog->topLevelItemCount());
    while (ListViewDataLog->topLevelItemCount() > 0) rows.append(ListViewDataLog->takeTopLevelItem(ListViewDataLog->topLevelItemCount() - 1));
    std::reverse(rows.begin(), rows.end());
    sortList(rows, sortColumn_, sortDirection_);
    ListViewDataLog->addTopLevelItems(rows);
}

void TDataLogForm::ColumnClick(int column) {
    sortColumn_ = column;
    sortDirection_ = -sortDirection_;
    sortRows();
}

void TDataLogForm::updateButtons() {
    const bool any = ListViewDataLog->topLevelItemCount() > 0;
    ClearAllButton->setEnabled(any);
    DeleteButton->setEnabled(any && !ListViewDataLog->selectedItems().isEmpty());
}

void TDataLogForm::DeleteButtonClick() {
    const auto selected = ListViewDataLog->selectedItems();
    if (selected.isEmpty()) return;
    if (AskMessageBox(this, GetString(6046), 4) != 1) return;
    for (int i = ListViewDataLog->topLevelItemCount() - 1; i >= 0; --i) {
        auto* row = static_cast<LogRow*>(ListViewDataLog->topLevelItem(i));
        if (row->isSelected() && BL_DeleteCallEntry(row->entry.index, row->entry.storage) == 0) delete row;
    }
    Load();
}

void TDataLogForm::ClearAllButtonClick() {
    if (AskMessageBox(this, GetString(6048), 4) != 1) return;
    if (BL_ClearCallEntries(VELK_CALLS_DATA_LOG, 2) == 0) ListViewDataLog->clear();
    Load();
}

void TDataLogForm::ReturnButtonClick() {
    hide();
    if (QWidget* page = windows::Find("TData_connectform")) {
        page->hide();
        page->show();
    }
    host::SetMainTitle(GetString(1003));
}

void TDataLogForm::FormShow() {
    host::SetMainTitle(GetString(6035));
    const unsigned captions[] = {0, 6039, 6036, 6037, 6038, 6040, 6041};
    QStringList headers;
    for (unsigned id : captions) headers << (id ? GetString(id) : QString());
    ListViewDataLog->setHeaderLabels(headers);
    TotleLabel->setText(GetString(6042));
    TotalTimeLabel->setText(GetString(6045));
    TotleDataValue->setToolTip(GetString(6049));
    TotalTime->setToolTip(GetString(6049));
    DeleteButton->setText(GetString(6043));
    ClearAllButton->setText(GetString(7008));
    ReturnButton->setText(GetString(6044));
}

void TDataLogForm::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    FormShow();
}

void TDataLogForm::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    const int bottom = height() - kHeight;   // extra height goes to the list
    ListViewDataLog->setGeometry(14, 12, width() - 28, 222 + bottom);
    for (QLabel* l : {TotleLabel, TotleDataValue}) l->move(l->x(), 244 + bottom);
    for (QLabel* l : {TotalTimeLabel, TotalTime}) l->move(l->x(), 270 + bottom);
    int x = width() - 120;
    for (TImageButton* b : {ReturnButton, ClearAllButton, DeleteButton}) {
        b->move(x, 262 + bottom);
        x -= 104;
    }
}

void TDataLogForm::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), skin::kSurface);
}
