#include "DialogCalibration.h"

#include "ContourAnalisisWidget.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <cmath>

DialogCalibration::DialogCalibration(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Калибровка"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

void DialogCalibration::setAnalysisWidget(ContourAnalisisWidget* widget)
{
    m_widget = widget;
    connect(widget, &ContourAnalisisWidget::closeDialogCalibration, this, [this] { QDialog::reject(); });
}

void DialogCalibration::reject()
{
    if (!m_widget || m_widget->isCalibrationSaved()) {
        QDialog::reject();
        return;
    }
    QMessageBox question;
    question.setWindowTitle(QStringLiteral("Несохранённые изменения"));
    question.setText(QStringLiteral("Данные калибровки не сохранены"));
    question.setInformativeText(QStringLiteral("Вы хотите сохранить изменённые калибровочные данные?"));
    question.setStandardButtons(QMessageBox::Save | QMessageBox::Cancel);
    question.button(QMessageBox::Save)->setText(QStringLiteral("Сохранить"));
    question.button(QMessageBox::Cancel)->setText(QStringLiteral("Не сохранять"));
    const bool save = question.exec() == QMessageBox::Save;
    const char* button = save ? "savePushButton" : "discardChangesPushButton";
    if (m_widget)
        m_widget->findChild<QPushButton*>(QLatin1String(button))->click();
}

void openCalibrationWindow(QWidget* parent, const QList<AbstractTrace*>& traces)
{
    auto* dialog = new DialogCalibration(parent);
    QScreen* screen = parent && parent->screen() ? parent->screen() : QGuiApplication::primaryScreen();
    const QRect available = screen->availableGeometry();
    dialog->resize(int(std::lround(available.width() * 0.7)), int(std::lround(available.height() * 0.7)));
    auto* layout = new QVBoxLayout;
    auto* workspace = new ContourAnalisisWidget(dialog, true);
    workspace->setTraces(traces.toVector());
    layout->addWidget(workspace);
    dialog->setAnalysisWidget(workspace);
    dialog->setLayout(layout);
    dialog->exec();
    delete dialog;
}
