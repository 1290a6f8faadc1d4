#pragma once

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QString>

#include "TraceTypes.h"

class AbstractTrace;
class DataProvider;

// The common base of the workspaces that the main window shows as tabs. It
// owns the workspace's trace source, routes the source's signals to the
// virtual data slots, starts reads into traces that the concrete workspace
// creates, and declares what the main window asks of the current tab: save
// the data, print a report, prepare and restore the plot around a report.
class AnalisysWidget : public QMainWindow
{
    Q_OBJECT
public:
    explicit AnalisysWidget(const QString& name);
    // Stops a read that still runs and deletes the held provider, and the
    // replaced ones whose deletion is still pending.
    ~AnalisysWidget() override;

    QString name() const { return m_name; }
    DataProvider* dataProvider() const { return m_provider; }

    // Takes ownership of a provider that has not been started. A provider held
    // before is stopped (its read awaited) and deleted once the signals it
    // sent have been handled, which still name it as their sender; signals
    // it emits after the replacement do not arrive.
    void setDataProvider(DataProvider* provider);
    // Starts the held provider's read into a new trace of the type; false
    // when there is no provider, the workspace creates no trace of that
    // type or the provider refuses (a read of it still runs).
    bool startRead(E_ANALISIS_TYPE type);

    virtual AbstractTrace* createTrace(E_ANALISIS_TYPE type);
    virtual void prepareForReport() = 0;
    virtual void restoreAfterReport() = 0;
    virtual void printReport(QWidget* parent) = 0;

public slots:
    virtual void saveData() = 0;
    virtual void dataReadStarted();
    virtual void dataBatchReady(int from, int count);
    virtual void dataReadFinished();
    virtual void dataReadError(QString error);
    virtual void dataReset();

protected:
    // Asks a running read to end and waits for it. A workspace whose members
    // the read uses (its traces, its plots) calls this in its own destructor.
    void stopRead();

private:
    void connectProvider(DataProvider* provider);

    QString m_name;
    DataProvider* m_provider = nullptr;
    QList<QPointer<DataProvider>> m_replacedProviders;
};
