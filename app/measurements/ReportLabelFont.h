#pragma once

#include <QFont>

#include <optional>

class QCPItemText;

// The font of a measurement's value label while the contour report is
// printed: enlarged, the label shows the report's large font; back to
// normal, it shows again exactly the font it had before.
class ReportLabelFont
{
public:
    void apply(QCPItemText* label, bool enlarged);

    static QFont enlargedFont();

private:
    std::optional<QFont> m_normal;
};
