#pragma once

#include "AbstractTrace.h"
#include "FocusKeeper.h"
#include "ui_MainWindow.h"

#include <QMainWindow>
#include <QVector>

class AnalisysWidget;
class ProfileAnalisisWidget;

// The program's window "Калвора 2.0.2": the profile workspace as the first
// tab "ПРОФИЛЬ", which cannot be closed, and one closable tab per hand-over
// of traces to measurement. Its menus open trace files, open the settings
// dialog and print reports; Ctrl+S and Ctrl+P belong to the window, so they
// work while a read keeps the menu bar disabled.
//
// The keyboard focus stays where the user put it (FocusKeeper): it does not
// fall to the next field when its widget is disabled, nor to a page's first
// field when a tab is shown again.
//
// The jog keys act only while the profile tab is current. The save, print
// and settings actions switch them off while they run; after a save or a
// print they are on again whatever tab is current, after the settings
// dialog only on the profile tab.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    ProfileAnalisisWidget* profileWidget() const { return m_profile; }

signals:
    void settingsChanged();

protected:
    bool focusNextPrevChild(bool next) override;

public slots:
    void openNewTrace();
    void createMeasurmentWidget(QVector<AbstractTrace*> t);
    void printReport();
    void openSettings();

private:
    void connectActions();
    void addShortcut(const QKeySequence& keys, QAction* action);
    void applyJogKeyRule(int currentIndex);
    void saveData();
    void closeTab(int index);
    bool isProfileTabCurrent() const;
    AnalisysWidget* currentWorkspace() const;
    QObject* jogKeys() const;

    Ui::MainWindow m_ui;
    ProfileAnalisisWidget* m_profile = nullptr;
    FocusKeeper m_focusKeeper{this};
};
