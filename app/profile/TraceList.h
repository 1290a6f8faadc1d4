#pragma once

#include <QList>
#include <QMap>
#include <QVector>
#include <QWidget>

#include "ExtraArgs.h"
#include "ui_TraceList.h"

class AbstractTrace;
class QShortcut;
class QTreeWidgetItem;

// The panel "ТРАССЫ" of the profile workspace: one top-level row per main
// trace and one child row per additional trace, each with a check box that
// shows or hides the trace's graphs; below, the details of the selected
// profile trace (cut-off, speed, length) and its parameter table.
//
// The list references its traces and never deletes them. It tells the
// workspace by signals what to do with a trace's graphs and data; the
// workspace adds the traces, marks the one being read and asks for the
// parameter calculations. The trace being read can be neither selected,
// removed nor joined; the main row above an additional trace being read stays
// selectable, but cannot be removed. GUI thread only.
class TraceList : public QWidget
{
    Q_OBJECT
public:
    explicit TraceList(QWidget* parent = nullptr);
    ~TraceList() override;

    // Every listed trace, main and additional, by id.
    const QMap<int, AbstractTrace*>& traces() const { return m_traces; }
    // Registers a trace without a row (the workspace does so at creation).
    void registerTrace(AbstractTrace* trace);

    AbstractTrace* busyTrace() const { return m_busyTrace; }
    // The trace being read; null when no read runs.
    void setBusyTrace(AbstractTrace* trace) { m_busyTrace = trace; }
    AbstractTrace* shownTrace() const { return m_shownTrace; }
    // The trace of the last top-level row; null without rows.
    AbstractTrace* lastMainTrace() const;

    // A ticked top-level row named after the trace's file.
    void addTrace(AbstractTrace* trace);
    // A child row "Доп. трасса N" under the last top-level row, ticked unless
    // `linked`; an unlinked trace is linked to that row's profile trace.
    // Without a top-level row nothing is added.
    void addAdditionalTrace(AbstractTrace* trace, bool linked);
    // Clears the check boxes of the profile traces' rows and of every child row.
    void uncheckProfileTraces();
    void selectTrace(int traceId);

    // The parameters of every listed profile trace but the one being read,
    // whose rows are still coming.
    void recalculateParameters();
    void updateDpParameter();
    void setMedianFilter(bool on, int window);

    ExtraArgs extraArgs;

signals:
    void traceDeleted(int trace_id);
    void setGraphSelected(int trace_id, bool is_selected);
    void setGraphVisible(int trace_id, bool is_selected);
    void fileterChanged();
    void createTrace(QVector<QVector<double>> data);

private slots:
    void tracesListMenuRequested(QPoint pos);
    void tracesListItemSelectionChanged();
    void tracesListItemChanged(QTreeWidgetItem* item, int column);
    void paramsListMenuRequested(QPoint pos);

private:
    QTreeWidgetItem* makeRow(AbstractTrace* trace, const QString& text, bool checked) const;
    static int rowTraceId(const QTreeWidgetItem* row);
    AbstractTrace* rowTrace(const QTreeWidgetItem* row) const;
    QTreeWidgetItem* findRow(int traceId) const;
    // The row of the trace being read.
    bool isBusyRow(const QTreeWidgetItem* row) const;
    // The row of the trace being read or the main row above it: removing it
    // would delete what the read draws into.
    bool holdsBusyTrace(const QTreeWidgetItem* row) const;
    QVector<ProfileTrace*> profileTraces() const;

    void setUpSplitter();
    void setDetailsVisible(bool visible);
    void showTraceDetails(int traceId);
    void fillParameterTable(ProfileTrace* trace);
    void cutOffChosen(int index);
    void watchDeleteKey(int traceId);
    void dropDeleteShortcut();

    void removeTraceRow(QTreeWidgetItem* row, int traceId);
    void removeMainTrace(QTreeWidgetItem* row, int traceId);
    void removeAdditionalTrace(QTreeWidgetItem* row, int traceId);
    void removeRowOfTrace(const AbstractTrace* trace);
    void unregister(int traceId);
    void showInFileManager(int traceId);
    void joinTracesDialog(int traceId);
    bool joinTraces(QDialog& dialog, int leftId, int rightId);
    // Whether a trace other than the clicked one can be joined to it.
    bool offersJoin() const;
    bool isJoinable(const AbstractTrace* trace) const;

    Ui::traceList m_ui;
    QMap<int, AbstractTrace*> m_traces;
    QList<QShortcut*> m_deleteShortcuts;
    AbstractTrace* m_shownTrace = nullptr;
    AbstractTrace* m_busyTrace = nullptr;
};
