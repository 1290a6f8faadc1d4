#pragma once

#include <QPixmap>
#include <QString>
#include <QVector>

#include <nlohmann/json.hpp>

class QWidget;

// Fills the template at `templatePath` with `data` and has pandoc convert the
// resulting Markdown into `outputPath`, whose extension selects the format.
// The images are added to the data as "imgs": bare Base64 texts of PNG files,
// appended to whatever array the data already holds there. A non-empty
// `referenceDocPath` is handed to pandoc as its reference document.
//
// Runs on the GUI thread and blocks it while pandoc runs. Every outcome is
// shown in a message box parented to `parent`; failures are logged too.
// Returns true when the report was written.
bool generateReport(QWidget* parent, const QString& templatePath, const QString& outputPath,
                    const QString& referenceDocPath, const QVector<QPixmap>& images, nlohmann::json data);
