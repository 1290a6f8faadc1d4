#include "AppSettings.h"

#include <climits>
#include <iterator>

#include <QSet>
#include <QSettings>

#include "Constants.h"
#include "Logger.h"
#include "ProfileParamNames.h"

namespace {

// Bounds a list count read from the file, so that a damaged file cannot make
// the load read millions of keys.
constexpr int kMaxListEntries = 10000;

const char* const kConsoleValueKeys[] = {"/tool_head_radius_down", "/tool_head_radius_up",
                                         "/double_sided_probe_high", "/needle_bias", "/roughness_ratio"};
constexpr int kConsoleValueCount = int(std::size(kConsoleValueKeys));

class IniReader
{
public:
    explicit IniReader(QSettings& settings) : m_settings(settings) {}

    int toInt(const QString& key, int def) const { return m_settings.value(key, def).toInt(); }
    double toDouble(const QString& key, double def) const { return m_settings.value(key, def).toDouble(); }
    bool toBool(const QString& key, bool def) const { return m_settings.value(key, def).toBool(); }
    QString toString(const QString& key, const QString& def) const { return m_settings.value(key, def).toString(); }

    int inRange(const QString& key, int def, int lowest, int highest) const
    {
        const int value = toInt(key, def);
        return value >= lowest && value <= highest ? value : def;
    }

    int count(const QString& key, int def) const
    {
        return qBound(0, toInt(key, def), kMaxListEntries);
    }

private:
    QSettings& m_settings;
};

QString indexedKey(const char* stem, int index)
{
    return QLatin1String(stem) + QString::number(index);
}

void readCalibration(const IniReader& ini, CalibrationSettings& c)
{
    c.tool_head_radius_down = ini.toDouble("calibration/tool_head_radius_down", c.tool_head_radius_down);
    c.tool_head_radius_up = ini.toDouble("calibration/tool_head_radius_up", c.tool_head_radius_up);
    c.double_sided_probe_high = ini.toDouble("calibration/double_sided_probe_high", c.double_sided_probe_high);
    c.needle_bias = ini.toDouble("calibration/needle_bias", c.needle_bias);
    c.rack_prpendicular = ini.toDouble("calibration/rack_prpendicular", c.rack_prpendicular);
    c.reference_ball_radius = ini.toDouble("calibration/reference_ball_radius", c.reference_ball_radius);
    c.roughness_reference_value = ini.toDouble("calibration/roughness_reference_value", c.roughness_reference_value);
    c.roughness_ratio = ini.toDouble("calibration/roughness_ratio", c.roughness_ratio);
    c.calibration_Ra_value = ini.toDouble("calibration/calibration_Ra_value", c.calibration_Ra_value);
    c.x_axis_compression_ratio = ini.toDouble("calibration/x_axis_compression_ratio", c.x_axis_compression_ratio);
    c.y_axis_compression_ratio = ini.toDouble("calibration/y_axis_compression_ratio", c.y_axis_compression_ratio);
    c.displacement_coefficient = ini.toDouble("calibration/displacement_coefficient", c.displacement_coefficient);
    c.upload_device_settings = ini.toBool("calibration/upload_device_settings", c.upload_device_settings);
}

void readDevice(const IniReader& ini, DeviceSettings& d)
{
    d.alternative_managment = ini.toBool("device/alternative_managment", d.alternative_managment);
    d.power_pressing = ini.inRange("device/power_pressing", d.power_pressing, 1, 4);
    d.spinbox_filter_length_index = ini.inRange("device/spinbox_filter_length_index", d.spinbox_filter_length_index,
                                                0, kCutOffValues.size() - 1);
    d.trace_length = ini.toInt("device/trace_length", d.trace_length);
    d.measurement_mode = ini.inRange("device/measurement_mode", d.measurement_mode, 0, INT_MAX);
    d.device_type = ini.inRange("device/device_type", d.device_type, 0, 3);
}

void readPreferencesUpToLists(const IniReader& ini, PreferenceSettings& p)
{
    p.alternative_measurement = ini.toBool("preferenses/alternative_measurement", p.alternative_measurement);
    p.meadian_filter = ini.toBool("preferenses/meadian_filter", p.meadian_filter);
    p.thread_angle_compensation = ini.toBool("preferenses/thread_angle_compensation", p.thread_angle_compensation);
    p.base_filter = ini.toBool("preferenses/base_filter", p.base_filter);
    p.meadian_filter_value = ini.inRange("preferenses/meadian_filter_value", p.meadian_filter_value, 1, INT_MAX);
    p.thread_angle_compensation_value =
        ini.toDouble("preferenses/thread_angle_compensation_value", p.thread_angle_compensation_value);
    p.histogramm_density_value =
        ini.inRange("preferenses/histogramm_density_value", p.histogramm_density_value, 1, INT_MAX);
    p.enabled_params_count = ini.count("preferenses/enabled_params_count", p.enabled_params_count);
    // Without a stored hidden list none is read: completing the lists then
    // hides every parameter that is not shown, so that none stands in both.
    p.disabled_params_count = ini.count("preferenses/disabled_params_count", 0);
}

void readParameterLists(const IniReader& ini, PreferenceSettings& p)
{
    p.enabled_params.clear();
    p.disabled_params.clear();
    for (int i = 0; i < p.enabled_params_count; ++i)
        p.enabled_params[i] = ini.toString(indexedKey("preferenses/enabled_", i), QStringLiteral("Ra"));
    for (int i = 0; i < p.disabled_params_count; ++i)
        p.disabled_params[i] = ini.toString(indexedKey("preferenses/disabled_", i), profileParamNames.value(i));
}

// Every catalogue parameter stands in one of the two lists: those that the
// file names in neither are appended to the hidden list in id order.
void completeParameterLists(PreferenceSettings& p)
{
    QSet<QString> listed;
    for (const QString& name : qAsConst(p.enabled_params))
        listed.insert(name);
    for (const QString& name : qAsConst(p.disabled_params))
        listed.insert(name);

    int nextPosition = p.disabled_params.isEmpty() ? 0 : p.disabled_params.lastKey() + 1;
    for (const QString& name : profileParamNames) {
        if (!listed.contains(name))
            p.disabled_params[nextPosition++] = name;
    }
    p.enabled_params_count = p.enabled_params.size();
    p.disabled_params_count = p.disabled_params.size();
}

void readPreferencesAfterLists(const IniReader& ini, PreferenceSettings& p)
{
    p.standartisation_value = ini.inRange("preferenses/standartisation_value", p.standartisation_value, 0, 1);
    p.is_ask_before_change_filter = ini.toBool("preferenses/is_ask_before_change_filter", p.is_ask_before_change_filter);
    p.profile_filter_mode = ini.toInt("preferenses/profile_filter_mode", p.profile_filter_mode);
    p.is_accept_filter = ini.toBool("preferenses/is_accept_filter", p.is_accept_filter);
    p.inscribed_circle_radius_measurement =
        ini.toDouble("preferenses/inscribed_circle_radius_measurement", p.inscribed_circle_radius_measurement);
    p.graph_color = ini.toString("preferenses/graph_color", p.graph_color);
    p.selected_graph_color = ini.toString("preferenses/selected_graph_color", p.selected_graph_color);
    p.visual_objects_color = ini.toString("preferenses/visual_objects_color", p.visual_objects_color);
}

void readService(const IniReader& ini, ServiceSettings& s)
{
    s.factory_name = ini.toString("servise/factory_name", s.factory_name);
    s.default_trace_file_name = ini.toString("servise/default_trace_file_name", s.default_trace_file_name);
    s.demo_regime = ini.toBool("servise/demo_regime", s.demo_regime);
    s.scale_x_resolution = ini.toInt("servise/scale_x_resolution", s.scale_x_resolution);
    s.scale_z_resolution = ini.toInt("servise/scale_z_resolution", s.scale_z_resolution);
    s.scale_r_resolution = ini.toInt("servise/scale_r_resolution", s.scale_r_resolution);
    s.is_developer_mode = ini.toBool("servise/is_developer_mode", s.is_developer_mode);
    s.is_disabled_gauss_filter = ini.toBool("servise/is_disabled_gauss_filter", s.is_disabled_gauss_filter);
    s.is_disabled_radius_elimination =
        ini.toBool("servise/is_disabled_radius_elimination", s.is_disabled_radius_elimination);
}

void readMovement(const IniReader& ini, MovementSettings& m)
{
    m.mm_per_rotation = ini.toDouble("movement/mm_per_rotation", m.mm_per_rotation);
    m.current_speed = ini.inRange("movement/current_speed", m.current_speed, 0, 3);
    m.needle_pressing = static_cast<MovementSettings::E_NEEDLE_PRESSING>(
        ini.inRange("movement/needle_pressing", m.needle_pressing, MovementSettings::NEEDLE_UP,
                    MovementSettings::NEEDLE_DOWN));
}

void readControllers(const IniReader& ini, AppSettingsData& data)
{
    const int count = ini.count("controllers/count", 0);
    for (int i = 0; i < count; ++i)
        data.controllers.append(ini.toString(indexedKey("controllers/c_", i), QString()));
}

void readConsoles(const IniReader& ini, AppSettingsData& data)
{
    const int count = ini.count("consoles/count", 0);
    data.current_console = ini.toString("consoles/current_console", data.current_console);
    const QVector<double> defaults = defaultConsoleCalibration();
    for (int i = 0; i < count; ++i) {
        const QString stem = indexedKey("consoles/p_", i);
        const QString name = ini.toString(stem, QString());
        data.console_names.append(name);
        QVector<double> values(kConsoleValueCount);
        for (int v = 0; v < kConsoleValueCount; ++v)
            values[v] = ini.toDouble(stem + QLatin1String(kConsoleValueKeys[v]), defaults.at(v));
        data.consoles.insert(name, values);
    }
}

} // namespace

QVector<double> defaultConsoleCalibration()
{
    return {20, 20, 22, 0, 6.2};
}

AppSettings& AppSettings::instance()
{
    static AppSettings settings;
    return settings;
}

AppSettings::AppSettings()
{
    static_cast<AppSettingsData&>(*this) = load(QLatin1String(kFileName));
}

AppSettingsData AppSettings::load(const QString& path)
{
    QSettings settings(path, QSettings::IniFormat);
    settings.setIniCodec("UTF-8");
    const IniReader ini(settings);

    AppSettingsData data;
    readCalibration(ini, data.calibration);
    readDevice(ini, data.device);
    data.view.axis_unit = ini.inRange("view/axis_unit", data.view.axis_unit, 0, 2);
    data.view.angles_in_deg = ini.toBool("view/angles_in_deg", data.view.angles_in_deg);
    readPreferencesUpToLists(ini, data.preferenses);
    readParameterLists(ini, data.preferenses);
    completeParameterLists(data.preferenses);
    readPreferencesAfterLists(ini, data.preferenses);
    readService(ini, data.servise);
    readMovement(ini, data.movement);
    readControllers(ini, data);
    readConsoles(ini, data);
    data.current_controller_name = ini.toString("controllers/current_controller_name", data.current_controller_name);
    return data;
}

AppSettingsData AppSettings::snapshot() const
{
    QMutexLocker lock(&m_mutex);
    return static_cast<const AppSettingsData&>(*this);
}

bool AppSettings::save()
{
    AppSettingsData data;
    quint64 order = 0;
    {
        QMutexLocker lock(&m_mutex);
        data = *this;
        order = ++m_copiesTaken;
    }
    QMutexLocker fileLock(&m_fileMutex);
    // A save that copied the record later, and so holds this one's changes
    // too, has written the file already: writing this copy would undo its work.
    if (order < m_copyOnDisk)
        return true;
    if (!write(data, QLatin1String(kFileName)))
        return false;
    m_copyOnDisk = order;
    return true;
}

namespace {

void writeCalibration(QSettings& s, const CalibrationSettings& c)
{
    s.setValue("calibration/tool_head_radius_down", c.tool_head_radius_down);
    s.setValue("calibration/tool_head_radius_up", c.tool_head_radius_up);
    s.setValue("calibration/double_sided_probe_high", c.double_sided_probe_high);
    s.setValue("calibration/needle_bias", c.needle_bias);
    s.setValue("calibration/rack_prpendicular", c.rack_prpendicular);
    s.setValue("calibration/reference_ball_radius", c.reference_ball_radius);
    s.setValue("calibration/roughness_reference_value", c.roughness_reference_value);
    s.setValue("calibration/roughness_ratio", c.roughness_ratio);
    s.setValue("calibration/calibration_Ra_value", c.calibration_Ra_value);
    s.setValue("calibration/x_axis_compression_ratio", c.x_axis_compression_ratio);
    s.setValue("calibration/y_axis_compression_ratio", c.y_axis_compression_ratio);
    s.setValue("calibration/displacement_coefficient", c.displacement_coefficient);
    s.setValue("calibration/upload_device_settings", c.upload_device_settings);
}

void writeDevice(QSettings& s, const DeviceSettings& d)
{
    s.setValue("device/alternative_managment", d.alternative_managment);
    s.setValue("device/power_pressing", d.power_pressing);
    s.setValue("device/measurement_mode", d.measurement_mode);
    s.setValue("device/device_type", d.device_type);
    s.setValue("device/spinbox_filter_length_index", d.spinbox_filter_length_index);
    s.setValue("device/trace_length", d.trace_length);
}

void writeService(QSettings& s, const ServiceSettings& v)
{
    s.setValue("servise/factory_name", v.factory_name);
    s.setValue("servise/default_trace_file_name", v.default_trace_file_name);
    s.setValue("servise/demo_regime", v.demo_regime);
    s.setValue("servise/scale_x_resolution", v.scale_x_resolution);
    s.setValue("servise/scale_z_resolution", v.scale_z_resolution);
    s.setValue("servise/scale_r_resolution", v.scale_r_resolution);
    s.setValue("servise/is_developer_mode", v.is_developer_mode);
    s.setValue("servise/is_disabled_gauss_filter", v.is_disabled_gauss_filter);
    s.setValue("servise/is_disabled_radius_elimination", v.is_disabled_radius_elimination);
}

void writeParameterList(QSettings& s, const char* stem, int count, const QMap<int, QString>& names)
{
    for (int i = 0; i < count; ++i)
        s.setValue(indexedKey(stem, i), names.value(i));
}

void writePreferences(QSettings& s, const PreferenceSettings& p)
{
    s.setValue("preferenses/alternative_measurement", p.alternative_measurement);
    s.setValue("preferenses/meadian_filter", p.meadian_filter);
    s.setValue("preferenses/thread_angle_compensation", p.thread_angle_compensation);
    s.setValue("preferenses/base_filter", p.base_filter);
    s.setValue("preferenses/meadian_filter_value", p.meadian_filter_value);
    s.setValue("preferenses/thread_angle_compensation_value", p.thread_angle_compensation_value);
    s.setValue("preferenses/histogramm_density_value", p.histogramm_density_value);
    s.setValue("preferenses/enabled_params_count", p.enabled_params_count);
    s.setValue("preferenses/disabled_params_count", p.disabled_params_count);
    writeParameterList(s, "preferenses/enabled_", p.enabled_params_count, p.enabled_params);
    writeParameterList(s, "preferenses/disabled_", p.disabled_params_count, p.disabled_params);
    s.setValue("preferenses/standartisation_value", p.standartisation_value);
    s.setValue("preferenses/is_ask_before_change_filter", p.is_ask_before_change_filter);
    s.setValue("preferenses/profile_filter_mode", p.profile_filter_mode);
    s.setValue("preferenses/is_accept_filter", p.is_accept_filter);
    s.setValue("preferenses/inscribed_circle_radius_measurement", p.inscribed_circle_radius_measurement);
    s.setValue("preferenses/graph_color", p.graph_color);
    s.setValue("preferenses/selected_graph_color", p.selected_graph_color);
    s.setValue("preferenses/visual_objects_color", p.visual_objects_color);
}

void writeControllers(QSettings& s, const AppSettingsData& data)
{
    s.setValue("controllers/count", data.controllers.size());
    s.setValue("controllers/current_controller_name", data.current_controller_name);
    for (int i = 0; i < data.controllers.size(); ++i)
        s.setValue(indexedKey("controllers/c_", i), data.controllers.at(i));
}

// A console without calibration values is written with the default ones, so
// that the next load reads what the program would give a new console.
void writeConsoles(QSettings& s, const AppSettingsData& data)
{
    s.setValue("consoles/count", data.console_names.size());
    s.setValue("consoles/current_console", data.current_console);
    const QVector<double> defaults = defaultConsoleCalibration();
    for (int i = 0; i < data.console_names.size(); ++i) {
        const QString stem = indexedKey("consoles/p_", i);
        const QString& name = data.console_names.at(i);
        QVector<double> values = data.consoles.value(name, defaults);
        if (values.size() != kConsoleValueCount)
            values = defaults;
        s.setValue(stem, name);
        for (int v = 0; v < kConsoleValueCount; ++v)
            s.setValue(stem + QLatin1String(kConsoleValueKeys[v]), values.at(v));
    }
}

void writeMovement(QSettings& s, const MovementSettings& m)
{
    s.setValue("movement/mm_per_rotation", m.mm_per_rotation);
    s.setValue("movement/current_speed", m.current_speed);
    s.setValue("movement/needle_pressing", static_cast<int>(m.needle_pressing));
}

} // namespace

bool AppSettings::write(const AppSettingsData& data, const QString& path)
{
    QSettings settings(path, QSettings::IniFormat);
    settings.setIniCodec("UTF-8");
    writeCalibration(settings, data.calibration);
    writeDevice(settings, data.device);
    writeService(settings, data.servise);
    settings.setValue("view/axis_unit", data.view.axis_unit);
    settings.setValue("view/angles_in_deg", data.view.angles_in_deg);
    writePreferences(settings, data.preferenses);
    writeControllers(settings, data);
    writeConsoles(settings, data);
    writeMovement(settings, data.movement);
    settings.sync();
    if (settings.status() == QSettings::NoError)
        return true;
    Logger::instance().log(ERROR, "Error writing settings file " + path.toStdString());
    return false;
}
