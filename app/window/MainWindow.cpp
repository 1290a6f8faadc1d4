#include "MainWindow.h"

#include "FileDataProvider.h"
#include "InspectorChoice.h"
#include "JogKeysBlock.h"
#include "KeyReceiver.h"
#include "Logger.h"
#include "DeviceControlWidget.h"
#include "ProfileAnalisisWidget.h"
#include "SettingsDialog.h"
#include "TraceFileType.h"
#include "contour/ContourAnalisisWidget.h"
#include "contour/DialogCalibration.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QShortcut>
#include <QTabBar>

namespace {

const QString kProfileTabTitle = QStringLiteral("ПРОФИЛЬ");
const QString kMeasurementTabTitle = QStringLiteral("ИЗМЕРЕНИЯ #%1");

} // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent)
{
    m_ui.setupUi(this);
    Logger::instance().log(INFO, "Start Programm");
    m_profile = new ProfileAnalisisWidget(this);
    connect(this, &MainWindow::settingsChanged, m_profile, &ProfileAnalisisWidget::settingsChanged);
    m_ui.tabWidget->addTab(m_profile, kProfileTabTitle);
    connect(m_ui.tabWidget, &QTabWidget::currentChanged, this, &MainWindow::applyJogKeyRule);
    m_focusKeeper.watchPages(m_ui.tabWidget);
    connectActions();
    m_ui.tabWidget->setTabsClosable(true);
    m_ui.tabWidget->tabBar()->setTabButton(0, QTabBar::RightSide, nullptr);
    m_ui.tabWidget->tabBar()->setTabButton(0, QTabBar::LeftSide, nullptr);
    connect(m_profile, &ProfileAnalisisWidget::lockButtons, m_ui.menubar, [this] { m_ui.menubar->setEnabled(false); });
    connect(m_profile, &ProfileAnalisisWidget::unlockButtons, m_ui.menubar, [this] { m_ui.menubar->setEnabled(true); });
    qApp->installEventFilter(m_profile->keyReceiver());
}

MainWindow::~MainWindow()
{
    Logger::instance().log(INFO, "End programm");
}

void MainWindow::connectActions()
{
    connect(m_ui.actionOpenTrace, &QAction::triggered, this, &MainWindow::openNewTrace);
    connect(m_ui.actionSave, &QAction::triggered, this, &MainWindow::saveData);
    addShortcut(QKeySequence(Qt::CTRL + Qt::Key_S), m_ui.actionSave);
    connect(m_profile, &ProfileAnalisisWidget::readyForMeasurment, this, &MainWindow::createMeasurmentWidget);
    connect(m_ui.tabWidget, &QTabWidget::tabCloseRequested, this, &MainWindow::closeTab);
    connect(m_ui.actionSettings, &QAction::triggered, this, &MainWindow::openSettings);
    connect(m_ui.actionPrint, &QAction::triggered, this, &MainWindow::printReport);
    addShortcut(QKeySequence(Qt::CTRL + Qt::Key_P), m_ui.actionPrint);
}

// The shortcut belongs to the window, not to the menu bar, so it stays
// active while a read has the menu bar disabled.
void MainWindow::addShortcut(const QKeySequence& keys, QAction* action)
{
    auto* shortcut = new QShortcut(keys, this);
    connect(shortcut, &QShortcut::activated, action, &QAction::trigger);
}

bool MainWindow::focusNextPrevChild(bool next)
{
    if (m_focusKeeper.keepFocusOfDisabledWidget())
        return false;
    return QMainWindow::focusNextPrevChild(next);
}

void MainWindow::applyJogKeyRule(int currentIndex)
{
    jogKeys()->blockSignals(currentIndex > 0);
}

bool MainWindow::isProfileTabCurrent() const
{
    return m_ui.tabWidget->currentIndex() <= 0;
}

AnalisysWidget* MainWindow::currentWorkspace() const
{
    return qobject_cast<AnalisysWidget*>(m_ui.tabWidget->currentWidget());
}

QObject* MainWindow::jogKeys() const
{
    return m_profile->keyReceiver();
}

void MainWindow::openNewTrace()
{
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Открыть трассу"), QString(),
                                                      QStringLiteral("Данные трассы (*.txt | *.igs | *.130)"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const auto type = static_cast<E_ANALISIS_TYPE>(TraceFileType::typeOfFile(path));
    m_profile->setDataProvider(new FileDataProvider(path));
    m_profile->startRead(type);
}

// The number in the title is the tab count at this moment, not a running
// counter.
void MainWindow::createMeasurmentWidget(QVector<AbstractTrace*> t)
{
    const int number = m_ui.tabWidget->count();
    Logger::instance().log(INFO, QStringLiteral("Create measurment #") + QString::number(number));
    auto* workspace = new ContourAnalisisWidget(this, false);
    m_ui.tabWidget->addTab(workspace, kMeasurementTabTitle.arg(number));
    m_ui.tabWidget->setCurrentWidget(workspace);
    workspace->setTraces(t);
    connect(this, &MainWindow::settingsChanged, workspace, &ContourAnalisisWidget::recalcAllMeasurements);
}

void MainWindow::closeTab(int index)
{
    Logger::instance().log(INFO, QStringLiteral("Delete tab measurmen #") + QString::number(index));
    m_ui.tabWidget->widget(index)->deleteLater();
    m_ui.tabWidget->removeTab(index);
}

void MainWindow::saveData()
{
    const JogKeysBlock block(jogKeys(), [] { return true; });
    if (AnalisysWidget* workspace = currentWorkspace())
        workspace->saveData();
}

void MainWindow::printReport()
{
    const JogKeysBlock block(jogKeys(), [] { return true; });
    Logger::instance().log(INFO, "Saving report");
    if (m_profile->traces().isEmpty()) {
        QMessageBox::warning(this, QStringLiteral("Ошибка печати отчёта"), QStringLiteral("Нет трасс для сохранения отчёта"));
        return;
    }
    switch (InspectorChoice::ask(this)) {
    case InspectorChoice::Cancelled:
        return;
    case InspectorChoice::Chosen:
        m_profile->settingsChanged();
        break;
    case InspectorChoice::AlreadyListed:
        break;
    }
    if (AnalisysWidget* workspace = currentWorkspace())
        workspace->printReport(this);
}

void MainWindow::openSettings()
{
    Logger::instance().log(INFO, "Open SettingsDialog");
    const JogKeysBlock block(jogKeys(), [this] { return isProfileTabCurrent(); });
    {
        SettingsDialog dialog(this, m_profile->visibleTraces(), *m_profile->deviceControlWidget()->device(),
                              openCalibrationWindow);
        dialog.setWindowFlag(Qt::WindowContextHelpButtonHint, false);
        dialog.exec();
    }
    Logger::instance().log(INFO, "Close SettingsDialog");
    emit settingsChanged();
}
