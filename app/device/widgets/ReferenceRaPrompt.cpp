#include "ReferenceRaPrompt.h"

#include "Device.h"
#include "NumberFields.h"
#include "SettingsAccess.h"
#include "SettingsSaving.h"

#include <QDebug>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kMinimumWidth = 300;

} // namespace

ReferenceRaPrompt::ReferenceRaPrompt(QWidget* parent) : QDialog(parent), m_value(new QDoubleSpinBox)
{
    setWindowTitle(QStringLiteral("Калибровка"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setMinimumWidth(kMinimumWidth);

    m_value->setRange(0.001, 99.999);
    m_value->setDecimals(3);
    m_value->setSingleStep(0.001);
    m_value->setSuffix(QStringLiteral(" мкм"));
    m_value->setValue(withSettings([](const AppSettings& s) { return s.calibration.calibration_Ra_value; }));

    auto* accept = new QPushButton(QStringLiteral("Принять"));
    auto* cancel = new QPushButton(QStringLiteral("Отмена"));
    connect(accept, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(accept);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Введите эталонное Ra:")));
    layout->addWidget(m_value);
    layout->addLayout(buttons);
    NumberFields::prepare(this);
}

double ReferenceRaPrompt::value() const
{
    return m_value->value();
}

bool ReferenceRaPrompt::calibrate(QWidget* parent, Device& device)
{
    ReferenceRaPrompt prompt(parent);
    if (prompt.exec() != QDialog::Accepted)
        return false;
    const double ra = prompt.value();
    qDebug() << "Эталонное Ra:" << ra;
    withSettings([ra](AppSettings& s) { s.calibration.calibration_Ra_value = ra; });
    saveSettingsOrWarn(parent);
    device.calibration();
    return true;
}
