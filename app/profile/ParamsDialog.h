#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;

// Chooses the profile parameters of the parameter table and their order: the
// shown ones on the left, the others on the right, moved with the arrow
// buttons or by dragging. "Ок" writes both lists to the settings and saves
// them; "Отмена" writes nothing.
class ParamsDialog : public QDialog
{
    Q_OBJECT
public:
    explicit ParamsDialog(QWidget* parent = nullptr);

    QListWidget* enabledList() const { return m_enabledList; }
    QListWidget* disabledList() const { return m_disabledList; }

    void saveLists();

private slots:
    void moveToDisabled();
    void moveToEnabled();

private:
    void setUpList(QListWidget* list);

    QListWidget* m_enabledList;
    QListWidget* m_disabledList;
    QPushButton* m_toDisabledButton;
    QPushButton* m_toEnabledButton;
    QPushButton* m_okButton;
    QPushButton* m_cancelButton;
};
