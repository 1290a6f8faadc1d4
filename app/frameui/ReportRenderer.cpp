#include "ReportRenderer.h"

#include <QBuffer>
#include <QDebug>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QSaveFile>
#include <QTemporaryFile>

#include <stdexcept>

#include "Logger.h"
#include "ReportTemplate.h"

namespace {

constexpr int kPandocWaitStepMs = 30000;

const QString kErrorTitle = QStringLiteral("Ошибка");

// Failures of the template, told apart from every other error.
class TemplateError : public std::runtime_error
{
public:
    explicit TemplateError(const QString& text) : std::runtime_error(text.toStdString()) {}
};

QString readTemplate(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw TemplateError(QStringLiteral("Cannot read the template file %1: %2").arg(path, file.errorString()));
    return QString::fromUtf8(file.readAll());
}

std::string pngBase64(const QPixmap& image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png.toBase64().toStdString();
}

// Touches "imgs" only when there is an image, so that data without images
// stays as the caller built it.
void appendImages(nlohmann::json& data, const QVector<QPixmap>& images)
{
    for (const QPixmap& image : images)
        data["imgs"].push_back(pngBase64(image));
}

QByteArray renderMarkdown(const QString& templatePath, const QVector<QPixmap>& images, nlohmann::json& data)
{
    const QString templateText = readTemplate(templatePath);
    appendImages(data, images);
    const ReportTemplate::Result rendered = ReportTemplate::render(templateText, templatePath, data);
    if (!rendered.ok)
        throw TemplateError(rendered.error);
    return rendered.text.toUtf8();
}

// Open failures are not reported here: pandoc then fails on the same file.
void writeFile(QFileDevice& file, const QByteArray& bytes)
{
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

QStringList pandocArguments(const QString& markdownPath, const QString& outputPath, const QString& referenceDocPath)
{
    QStringList arguments{markdownPath, QStringLiteral("-o"), outputPath};
    if (!referenceDocPath.isEmpty())
        arguments << QStringLiteral("--reference-doc") << referenceDocPath;
    arguments << QStringLiteral("--css") << QStringLiteral("reports/style.css") << QStringLiteral("-s");
    return arguments;
}

// Waits for a long conversion in steps, with no overall limit. Returns what
// went wrong, or an empty text when pandoc succeeded.
QString runPandoc(const QStringList& arguments)
{
    QProcess pandoc;
    pandoc.start(QStringLiteral("pandoc"), arguments, QIODevice::ReadWrite);
    while (!pandoc.waitForFinished(kPandocWaitStepMs)) {
        if (pandoc.error() != QProcess::Timedout || pandoc.state() == QProcess::NotRunning)
            return pandoc.errorString();
    }
    if (pandoc.exitStatus() != QProcess::NormalExit)
        return pandoc.errorString();
    if (pandoc.exitCode() != 0)
        return QStringLiteral("exit code %1").arg(pandoc.exitCode());
    return {};
}

bool convert(QWidget* parent, const QByteArray& markdown, const QString& outputPath, const QString& referenceDocPath)
{
    QTemporaryFile markdownFile(QStringLiteral("Протокол"));
    writeFile(markdownFile, markdown);
    markdownFile.close();

    // The output holds the Markdown until pandoc replaces it, so that a failed
    // conversion still leaves the filled-in report behind.
    QSaveFile draft(outputPath);
    writeFile(draft, markdown);
    draft.commit();

    const QStringList arguments = pandocArguments(markdownFile.fileName(), outputPath, referenceDocPath);
    qDebug() << arguments;
    const QString pandocFailure = runPandoc(arguments);
    if (!pandocFailure.isEmpty()) {
        Logger::instance().log(CRITICAL, QStringLiteral("Error in pandoc: ") + pandocFailure);
        QMessageBox::warning(parent, kErrorTitle,
                             QStringLiteral("Что-то пошло не так при конвертации отчета\nПроверьте, что установлен pandoc "));
        return false;
    }
    markdownFile.remove();
    QMessageBox::information(parent, QStringLiteral("Отчет сохранен"), QStringLiteral("Отчёт сохранён успешно!"));
    return true;
}

void reportGenerationFailure(QWidget* parent, const char* logLine, const std::exception& error,
                             const QString& templatePath)
{
    const QString what = QString::fromStdString(error.what());
    Logger::instance().log(CRITICAL, logLine);
    qDebug().noquote() << what;
    QMessageBox::warning(parent, kErrorTitle,
                         QStringLiteral("Что-то пошло не так при генерации отчета. Что именно:\n") + what
                             + QStringLiteral("\n Проверьте шаблон отчета ") + templatePath);
}

} // namespace

bool generateReport(QWidget* parent, const QString& templatePath, const QString& outputPath,
                    const QString& referenceDocPath, const QVector<QPixmap>& images, nlohmann::json data)
{
    try {
        const QByteArray markdown = renderMarkdown(templatePath, images, data);
        return convert(parent, markdown, outputPath, referenceDocPath);
    } catch (const TemplateError& error) {
        reportGenerationFailure(parent, "Error in inja", error, templatePath);
    } catch (const std::exception& error) {
        reportGenerationFailure(parent, "Error std", error, templatePath);
    } catch (...) {
        Logger::instance().log(CRITICAL, "Error in constructor");
    }
    return false;
}
