#pragma once

class QWidget;

// The inspector step before a report. With inspectors listed in the settings
// the report names the stored current inspector and nothing is asked. With
// none listed the operator types a name into the chooser "Контроллер"; the
// name becomes the current inspector, joins the list and the settings are
// saved. A cancelled chooser, or a name that is empty or blank, means no
// report.
class InspectorChoice
{
public:
    enum Outcome { AlreadyListed, Chosen, Cancelled };

    static Outcome ask(QWidget* parent);
};
