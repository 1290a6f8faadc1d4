#pragma once

#include "ui_ConsoleSelectDialog.h"

#include <QDialog>
#include <QMap>
#include <QString>
#include <QVector>

// "Выбор консоли": the choice of the console under which a probe calibration
// is stored, with the console list edited on the way (added with "Добавить",
// renamed in place, removed with Delete or "Удалить"). "Выбрать" rewrites the
// console names and their calibrations from the list, makes the chosen
// console current and saves the settings; "Отмена" puts back the
// calibrations of the moment the dialog opened, with the names in their key
// order. Run it with exec(); when accepted, selectedConsole() names the
// choice.
class ConsoleSelectDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ConsoleSelectDialog(QWidget* parent);

    QString selectedConsole() const { return m_selectedConsole; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void updateSelectButton();
    void addConsole();
    void applyConsoles();
    void cancelConsoles();

    QMap<QString, QVector<double>> m_initialCalibrations;
    QString m_selectedConsole;
    Ui::ConsoleSelectDialog m_ui;
};
