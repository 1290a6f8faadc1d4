#include "ReportLabelFont.h"

#include <qcustomplot.h>

void ReportLabelFont::apply(QCPItemText* label, bool enlarged)
{
    if (!label)
        return;
    if (enlarged) {
        if (!m_normal)
            m_normal = label->font();
        label->setFont(enlargedFont());
    } else if (m_normal) {
        label->setFont(*m_normal);
        m_normal.reset();
    }
}

QFont ReportLabelFont::enlargedFont()
{
    return QFont(QStringLiteral("MS Shell Dlg 2"), 20);
}
