#include "TraceList.h"

#include <QButtonGroup>
#include <QDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMutexLocker>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSplitter>
#include <QStyle>
#include <QVBoxLayout>

#include "AppSettings.h"
#include "Constants.h"
#include "DrawingConstants.h"
#include "DesktopServices.h"
#include "Logger.h"
#include "NumberFields.h"
#include "ParameterRecalculation.h"
#include "ParamsDialog.h"
#include "ProfileTrace.h"
#include "TraceFileSaving.h"
#include "TraceJoining.h"
#include "TraceTypes.h"

namespace {

const char* const kTraceIdProperty = "traceId";

// Names of this many characters read whole in the list beside the details.
constexpr int kWholeNameLength = 20;

// The width the list needs to show a row with a name of kWholeNameLength
// characters of its (fixed-pitch) font: the name, the check box before it,
// the indentation of the tree and the frame around it.
int listWidthForWholeNames(const QTreeWidget* list)
{
    const QStyle* style = list->style();
    const int name = QFontMetrics(list->font()).horizontalAdvance(QString(kWholeNameLength, QLatin1Char('0')));
    const int itemMargin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
    const int checkBox = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, list) + 2 * itemMargin;
    return list->indentation() + checkBox + name + 2 * itemMargin + 2 * list->frameWidth();
}

bool isProfileType(const AbstractTrace* trace)
{
    return trace->type == PROFILE || trace->type == ADDITIONAL_TRACE;
}

bool isContourType(const AbstractTrace* trace)
{
    return trace->type == CONTOUR || trace->type == CONTOUR_PROFILE;
}

// The trace length shown for the display unit: factor and suffix.
QPair<double, QString> lengthUnit()
{
    AppSettings& settings = AppSettings::instance();
    QMutexLocker lock(&settings.mutex());
    switch (settings.view.axis_unit) {
    case 1:
        return {1.0, QStringLiteral(" мкм")};
    case 2:
        return {1000.0, QStringLiteral(" нм")};
    default:
        return {0.001, QStringLiteral(" мм")};
    }
}

void warn(QWidget* parent, const QString& text)
{
    QMessageBox::warning(parent, QStringLiteral("Ошибка"), text);
}

} // namespace

TraceList::TraceList(QWidget* parent)
    : QWidget(parent)
{
    m_ui.setupUi(this);
    m_ui.tracesListTreeWidget->setFont(kMonospaceFont);
    m_ui.paramsListTreeWidget->setHeaderLabels(
        {QStringLiteral("Параметр"), QStringLiteral("Значение"), QStringLiteral("Ед. измерения")});
    setUpSplitter();
    setDetailsVisible(false);

    connect(m_ui.tracesListTreeWidget, &QWidget::customContextMenuRequested, this,
            &TraceList::tracesListMenuRequested);
    connect(m_ui.tracesListTreeWidget, &QTreeWidget::itemSelectionChanged, this,
            &TraceList::tracesListItemSelectionChanged);
    connect(m_ui.tracesListTreeWidget, &QTreeWidget::itemChanged, this, &TraceList::tracesListItemChanged);
    connect(m_ui.paramsListTreeWidget, &QWidget::customContextMenuRequested, this,
            &TraceList::paramsListMenuRequested);
    connect(m_ui.filterComboBox, qOverload<int>(&QComboBox::currentIndexChanged), this, &TraceList::cutOffChosen);
}

TraceList::~TraceList() = default;

void TraceList::registerTrace(AbstractTrace* trace)
{
    m_traces.insert(trace->id, trace);
}

void TraceList::addTrace(AbstractTrace* trace)
{
    const QString name = QFileInfo(trace->filePath()).completeBaseName();
    m_ui.tracesListTreeWidget->addTopLevelItem(makeRow(trace, name, true));
    registerTrace(trace);
    Logger::instance().log(INFO, "End of adding new trace");
}

void TraceList::addAdditionalTrace(AbstractTrace* trace, bool linked)
{
    QTreeWidget* tree = m_ui.tracesListTreeWidget;
    if (tree->topLevelItemCount() == 0)
        return;
    QTreeWidgetItem* mainRow = tree->topLevelItem(tree->topLevelItemCount() - 1);
    const QString name = QStringLiteral("Доп. трасса ") + QString::number(mainRow->childCount() + 1);
    QTreeWidgetItem* row = makeRow(trace, name, !linked);
    if (!linked) {
        auto* mainTrace = dynamic_cast<ProfileTrace*>(rowTrace(mainRow));
        auto* additional = dynamic_cast<ProfileTrace*>(trace);
        if (mainTrace && additional)
            mainTrace->addAdditionalTrace(additional);
    }
    mainRow->addChild(row);
    registerTrace(trace);
}

void TraceList::uncheckProfileTraces()
{
    QTreeWidget* tree = m_ui.tracesListTreeWidget;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* mainRow = tree->topLevelItem(i);
        const AbstractTrace* trace = rowTrace(mainRow);
        if (trace && trace->type == PROFILE)
            mainRow->setCheckState(0, Qt::Unchecked);
        for (int j = 0; j < mainRow->childCount(); ++j) {
            if (rowTrace(mainRow->child(j)))
                mainRow->child(j)->setCheckState(0, Qt::Unchecked);
        }
    }
}

void TraceList::selectTrace(int traceId)
{
    QTreeWidgetItem* row = findRow(traceId);
    if (!row)
        return;
    QTreeWidget* tree = m_ui.tracesListTreeWidget;
    tree->clearSelection();
    tree->setCurrentItem(row);
    row->setSelected(true);
    tree->scrollToItem(row, QAbstractItemView::EnsureVisible);
}

AbstractTrace* TraceList::lastMainTrace() const
{
    const QTreeWidget* tree = m_ui.tracesListTreeWidget;
    const int rows = tree->topLevelItemCount();
    return rows == 0 ? nullptr : rowTrace(tree->topLevelItem(rows - 1));
}

void TraceList::recalculateParameters()
{
    QVector<ProfileTrace*> traces = profileTraces();
    traces.removeAll(dynamic_cast<ProfileTrace*>(m_busyTrace));
    ::recalculateParameters(extraArgs, traces);
    if (m_shownTrace)
        showTraceDetails(m_shownTrace->id);
}

void TraceList::updateDpParameter()
{
    for (ProfileTrace* trace : profileTraces())
        extraArgs.updateDp(trace);
    if (m_shownTrace)
        showTraceDetails(m_shownTrace->id);
}

void TraceList::setMedianFilter(bool on, int window)
{
    for (ProfileTrace* trace : profileTraces()) {
        trace->medianEnabled = on;
        trace->medianWindow = window;
        trace->clearFilteredCache();
    }
    if (auto* shown = dynamic_cast<ProfileTrace*>(m_shownTrace); shown && isProfileType(shown)) {
        extraArgs.calculateAll(shown);
        showTraceDetails(shown->id);
    }
}

void TraceList::tracesListItemChanged(QTreeWidgetItem* item, int column)
{
    if (column != 0)
        return;
    const int id = rowTraceId(item);
    if (id >= 0)
        emit setGraphVisible(id, item->checkState(0) == Qt::Checked);
}

void TraceList::tracesListItemSelectionChanged()
{
    const QList<QTreeWidgetItem*> selected = m_ui.tracesListTreeWidget->selectedItems();
    if (selected.isEmpty()) {
        m_shownTrace = nullptr;
        setDetailsVisible(false);
    }
    for (int id : m_traces.keys()) {
        emit setGraphSelected(id, false);
        if (!m_deleteShortcuts.isEmpty())
            dropDeleteShortcut();
    }
    if (selected.isEmpty())
        return;

    QTreeWidgetItem* row = selected.first();
    const int id = rowTraceId(row);
    AbstractTrace* trace = m_traces.value(id);
    if (!trace)
        return;
    m_shownTrace = trace;
    if (isBusyRow(row)) {
        row->setSelected(false);
        return;
    }
    if (isProfileType(trace))
        showTraceDetails(id);
    emit setGraphSelected(id, true);
    watchDeleteKey(id);
}

// The shortcut may be the one whose activation removed the row and so
// changed the selection: it is deleted once its activation is over.
void TraceList::dropDeleteShortcut()
{
    QShortcut* shortcut = m_deleteShortcuts.takeFirst();
    shortcut->setEnabled(false);
    shortcut->deleteLater();
}

void TraceList::watchDeleteKey(int traceId)
{
    auto* shortcut = new QShortcut(QKeySequence(Qt::Key_Delete), this, nullptr, nullptr, Qt::WindowShortcut);
    m_deleteShortcuts.append(shortcut);
    connect(shortcut, &QShortcut::activated, this, [this, traceId] {
        QTreeWidgetItem* row = findRow(traceId);
        if (row && !holdsBusyTrace(row))
            removeTraceRow(row, traceId);
    });
}

// The list is never too narrow for whole names and keeps its width when the
// window's width changes; the user moves the border between list and details.
void TraceList::setUpSplitter()
{
    m_ui.tracesListTreeWidget->setMinimumWidth(listWidthForWholeNames(m_ui.tracesListTreeWidget));
    m_ui.traceListSplitter->setStretchFactor(0, 0);
    m_ui.traceListSplitter->setStretchFactor(1, 1);
}

void TraceList::setDetailsVisible(bool visible)
{
    m_ui.traceDetails->setVisible(visible);
    m_ui.traceListSplitter->refresh();
}

void TraceList::showTraceDetails(int traceId)
{
    auto* trace = dynamic_cast<ProfileTrace*>(m_traces.value(traceId));
    if (!trace)
        return;
    m_ui.paramsListTreeWidget->clear();
    setDetailsVisible(true);
    m_ui.speedValueLable->setText(QString::number(trace->speed, 'g', 6) + QStringLiteral(" мм/с"));
    {
        const QSignalBlocker blocker(m_ui.filterComboBox);
        m_ui.filterComboBox->setCurrentIndex(kCutOffValues.indexOf(trace->filterCutOff));
    }
    const auto [factor, unit] = lengthUnit();
    m_ui.traceLengthValuLabel->setText(QString::number(trace->length() * factor, 'g', 6) + unit);
    fillParameterTable(trace);
}

// Looking a name up adds an empty result for it, as the table has always done.
void TraceList::fillParameterTable(ProfileTrace* trace)
{
    for (const QString& name : ExtraArgs::enabledParameterNames()) {
        const QString value = trace->parameterResults[name];
        const QString unit = ExtraArgs::unitText(name, value);
        m_ui.paramsListTreeWidget->addTopLevelItem(new QTreeWidgetItem(QStringList{name, value, unit}));
    }
    // Fitted to the rows alone: the hidden header's texts would widen the
    // columns beyond the narrow details.
    for (int column = 0; column < m_ui.paramsListTreeWidget->columnCount(); ++column)
        m_ui.paramsListTreeWidget->resizeColumnToContents(column);
}

void TraceList::cutOffChosen(int index)
{
    auto* trace = dynamic_cast<ProfileTrace*>(m_shownTrace);
    if (!trace || !isProfileType(trace) || index < 0 || index >= kCutOffValues.size())
        return;
    trace->filterCutOff = kCutOffValues[index];
    ProfileTrace* fileOwner = trace->type == ADDITIONAL_TRACE && trace->parentTrace ? trace->parentTrace : trace;
    writeTraceFileOrWarn(this, fileOwner->filePath(), fileOwner);
    extraArgs.calculateAll(trace);
    showTraceDetails(trace->id);
    emit fileterChanged();
}

void TraceList::tracesListMenuRequested(QPoint pos)
{
    QTreeWidget* tree = m_ui.tracesListTreeWidget;
    QTreeWidgetItem* row = tree->itemAt(pos);
    const int id = rowTraceId(row);
    if (!row || !m_traces.contains(id) || isBusyRow(row))
        return;

    QMenu menu(this);
    QAction* remove = holdsBusyTrace(row) ? nullptr : menu.addAction(QStringLiteral("Удалить трассу"));
    QAction* showFile = menu.addAction(QStringLiteral("Перейти к файлу трассы"));
    QAction* join = offersJoin() ? menu.addAction(QStringLiteral("Соединить трассы")) : nullptr;
    QAction* chosen = menu.exec(tree->viewport()->mapToGlobal(pos));
    if (!chosen)
        return;
    // The list may have changed while the menu was open.
    row = findRow(id);
    if (!row || isBusyRow(row))
        return;
    if (chosen == remove && !holdsBusyTrace(row))
        removeTraceRow(row, id);
    else if (chosen == showFile)
        showInFileManager(id);
    else if (chosen == join)
        joinTracesDialog(id);
}

void TraceList::paramsListMenuRequested(QPoint pos)
{
    QTreeWidget* table = m_ui.paramsListTreeWidget;
    if (!table->itemAt(pos))
        return;
    QMenu menu(this);
    QAction* choose = menu.addAction(QStringLiteral("Отображённые параметры"));
    if (menu.exec(table->viewport()->mapToGlobal(pos)) == choose) {
        ParamsDialog dialog(this);
        dialog.setWindowFlag(Qt::WindowContextHelpButtonHint, false);
        dialog.exec();
    }
    recalculateParameters();
}

void TraceList::removeTraceRow(QTreeWidgetItem* row, int traceId)
{
    if (row->parent())
        removeAdditionalTrace(row, traceId);
    else
        removeMainTrace(row, traceId);
}

void TraceList::removeMainTrace(QTreeWidgetItem* row, int traceId)
{
    Logger::instance().log(INFO, QStringLiteral("Remove main trace with ID ") + QString::number(traceId + 1));
    for (int i = 0; i < row->childCount(); ++i) {
        const int childId = rowTraceId(row->child(i));
        if (m_traces.contains(childId)) {
            unregister(childId);
            emit traceDeleted(childId);
        }
    }
    qDeleteAll(row->takeChildren());
    if (m_traces.contains(traceId)) {
        unregister(traceId);
        emit traceDeleted(traceId);
    }
    delete m_ui.tracesListTreeWidget->takeTopLevelItem(m_ui.tracesListTreeWidget->indexOfTopLevelItem(row));
}

void TraceList::removeAdditionalTrace(QTreeWidgetItem* row, int traceId)
{
    Logger::instance().log(INFO, QStringLiteral("Remove additional trace with ID ") + QString::number(traceId + 1));
    QTreeWidgetItem* mainRow = row->parent();
    if (!mainRow || !m_traces.contains(traceId))
        return;
    if (auto* mainTrace = dynamic_cast<ProfileTrace*>(rowTrace(mainRow))) {
        mainTrace->removeAdditionalTrace(traceId);
        writeTraceFileOrWarn(this, mainTrace->filePath(), mainTrace);
    }
    unregister(traceId);
    emit traceDeleted(traceId);
    mainRow->removeChild(row);
    delete row;
}

void TraceList::removeRowOfTrace(const AbstractTrace* trace)
{
    QTreeWidget* tree = m_ui.tracesListTreeWidget;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        if (rowTraceId(tree->topLevelItem(i)) == trace->id) {
            removeTraceRow(tree->topLevelItem(i), trace->id);
            return;
        }
    }
}

void TraceList::unregister(int traceId)
{
    m_traces.remove(traceId);
    if (m_shownTrace && m_shownTrace->id == traceId) {
        m_shownTrace = nullptr;
        setDetailsVisible(false);
    }
}

void TraceList::showInFileManager(int traceId)
{
    const AbstractTrace* trace = m_traces.value(traceId);
    if (trace && QFileInfo::exists(trace->filePath()))
        DesktopServices::showInFolder(trace->filePath());
}

bool TraceList::offersJoin() const
{
    int joinable = 0;
    for (const AbstractTrace* trace : m_traces) {
        if (isProfileType(trace))
            return false;
        if (trace != m_busyTrace)
            ++joinable;
    }
    return joinable > 1;
}

bool TraceList::isJoinable(const AbstractTrace* trace) const
{
    return trace && trace != m_busyTrace && isContourType(trace);
}

void TraceList::joinTracesDialog(int traceId)
{
    QDialog dialog(this);
    dialog.setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    dialog.setWindowTitle(QStringLiteral("Соединение трассы"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("Какую трассу присоединить справа?"), &dialog));
    QButtonGroup group(&dialog);
    for (const AbstractTrace* trace : qAsConst(m_traces)) {
        if (trace->id == traceId || !isJoinable(trace))
            continue;
        auto* button = new QRadioButton(trace->name().remove(QStringLiteral(".txt")), &dialog);
        button->setProperty(kTraceIdProperty, trace->id);
        group.addButton(button);
        layout->addWidget(button);
    }
    auto* joinButton = new QPushButton(QStringLiteral("Соединить"), &dialog);
    layout->addWidget(joinButton);
    connect(joinButton, &QPushButton::clicked, &dialog, [&] {
        const QAbstractButton* chosen = group.checkedButton();
        if (!chosen) {
            warn(&dialog, QStringLiteral("Ни одна трасса не выбрана!"));
            return;
        }
        const int rightId = chosen->property(kTraceIdProperty).toInt();
        if (!m_traces.contains(rightId)) {
            warn(&dialog, QStringLiteral("Выбранная трасса не найдена!"));
            return;
        }
        if (joinTraces(dialog, traceId, rightId))
            dialog.accept();
    });
    dialog.exec();
}

// Asks the overlap and hands the joined data on; false when cancelled.
bool TraceList::joinTraces(QDialog& dialog, int leftId, int rightId)
{
    bool ok = false;
    const double overlap = NumberFields::askForDouble(&dialog, QStringLiteral("Укажите нахлёст"),
                                                      QStringLiteral("Введите длину нахлёста(мм):"), 10, 0.01, 1000,
                                                      2, &ok, dialog.windowFlags(), 0.01);
    AbstractTrace* left = m_traces.value(leftId);
    AbstractTrace* right = m_traces.value(rightId);
    if (!ok || !isJoinable(left) || !isJoinable(right))
        return false;
    const ProfileData data = ::joinTraces(left, right, overlap);
    removeRowOfTrace(left);
    removeRowOfTrace(right);
    emit createTrace(data);
    return true;
}

QTreeWidgetItem* TraceList::makeRow(AbstractTrace* trace, const QString& text, bool checked) const
{
    auto* row = new QTreeWidgetItem;
    row->setText(0, text);
    row->setToolTip(0, text);
    row->setTextAlignment(0, Qt::AlignLeft | Qt::AlignVCenter);
    row->setData(0, Qt::UserRole, trace->id);
    row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
    row->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
    row->setText(1, QString::fromStdString(trace->creationDateString()));
    row->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    return row;
}

int TraceList::rowTraceId(const QTreeWidgetItem* row)
{
    if (!row)
        return -1;
    bool ok = false;
    const int id = row->data(0, Qt::UserRole).toInt(&ok);
    return ok ? id : -1;
}

AbstractTrace* TraceList::rowTrace(const QTreeWidgetItem* row) const
{
    return m_traces.value(rowTraceId(row));
}

// Depth first from the last row, each row before its children, the last child first.
QTreeWidgetItem* TraceList::findRow(int traceId) const
{
    QTreeWidget* tree = m_ui.tracesListTreeWidget;
    for (int i = tree->topLevelItemCount() - 1; i >= 0; --i) {
        QTreeWidgetItem* mainRow = tree->topLevelItem(i);
        if (rowTraceId(mainRow) == traceId)
            return mainRow;
        for (int j = mainRow->childCount() - 1; j >= 0; --j)
            if (rowTraceId(mainRow->child(j)) == traceId)
                return mainRow->child(j);
    }
    return nullptr;
}

bool TraceList::isBusyRow(const QTreeWidgetItem* row) const
{
    return m_busyTrace && row && rowTraceId(row) == m_busyTrace->id;
}

bool TraceList::holdsBusyTrace(const QTreeWidgetItem* row) const
{
    if (isBusyRow(row))
        return true;
    for (int i = 0; row && i < row->childCount(); ++i)
        if (isBusyRow(row->child(i)))
            return true;
    return false;
}

QVector<ProfileTrace*> TraceList::profileTraces() const
{
    QVector<ProfileTrace*> profiles;
    for (AbstractTrace* trace : m_traces) {
        auto* profile = dynamic_cast<ProfileTrace*>(trace);
        if (profile && isProfileType(profile))
            profiles.append(profile);
    }
    return profiles;
}
