#pragma once

#include <QMap>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <QVector>

struct DeviceSettings
{
    bool alternative_managment = false;
    int power_pressing = 1;
    int spinbox_filter_length_index = 1;
    int trace_length = 1;
    int measurement_mode = 0;
    int device_type = 2;
};

struct CalibrationSettings
{
    double tool_head_radius_down = 20;
    double tool_head_radius_up = 20;
    double double_sided_probe_high = 22;
    double needle_bias = 0;
    double rack_prpendicular = 0;
    double reference_ball_radius = 15.875;
    double roughness_reference_value = 1.2;
    double roughness_ratio = 6.2;
    double calibration_Ra_value = 1;
    double x_axis_compression_ratio = 1;
    double y_axis_compression_ratio = 1;
    double displacement_coefficient = 0;
    bool upload_device_settings = false;
};

struct ServiceSettings
{
    QString default_trace_file_name = QStringLiteral("Деталь");
    QString factory_name = QStringLiteral("Завод");
    bool demo_regime = false;
    int scale_x_resolution = 2;
    int scale_z_resolution = 2;
    int scale_r_resolution = 2;
    bool is_developer_mode = false;
    bool is_disabled_gauss_filter = true;
    bool is_disabled_radius_elimination = true;
};

struct MovementSettings
{
    enum E_NEEDLE_PRESSING { NEEDLE_UP = 0, NEEDLE_DOWN = 1 };

    E_NEEDLE_PRESSING needle_pressing = NEEDLE_DOWN;
    int current_speed = 0;
    double mm_per_rotation = 1;
};

struct ViewSettings
{
    bool angles_in_deg = false;
    int axis_unit = 0;
};

struct PreferenceSettings
{
    bool alternative_measurement = false;
    bool meadian_filter = false;
    bool thread_angle_compensation = false;
    bool base_filter = false;
    int meadian_filter_value = 3;
    double thread_angle_compensation_value = 0;
    int histogramm_density_value = 10;
    int enabled_params_count = 1;
    int disabled_params_count = 55;
    QMap<int, QString> enabled_params;
    QMap<int, QString> disabled_params;
    int standartisation_value = 0;
    bool is_ask_before_change_filter = true;
    int profile_filter_mode = 0;
    bool is_accept_filter = true;
    double inscribed_circle_radius_measurement = 1;
    QString graph_color = QStringLiteral("#0048ba");
    QString selected_graph_color = QStringLiteral("#ff0000");
    QString visual_objects_color = QStringLiteral("#9b870c");
};

// The settings record itself, without its lock, so that it can be copied.
struct AppSettingsData
{
    DeviceSettings device;
    CalibrationSettings calibration;
    ServiceSettings servise;
    MovementSettings movement;
    ViewSettings view;
    PreferenceSettings preferenses;
    QStringList controllers;
    QStringList console_names;
    QString current_controller_name = QStringLiteral("No name");
    QString current_console = QStringLiteral("No console");
    QMap<QString, QVector<double>> consoles;
};

// The process-wide settings kept in "settings.ini" in the working directory.
// Fields are read and written directly; whoever changes one calls save().
// Code off the GUI thread holds mutex() while it touches fields.
class AppSettings : public AppSettingsData
{
public:
    static AppSettings& instance();

    // Writes the whole record; false (and an ERROR line in the log) when the
    // file could not be written.
    bool save();

    // A copy of the record taken under the lock.
    AppSettingsData snapshot() const;

    QRecursiveMutex& mutex() const { return m_mutex; }

    // Reads the file into the record: defaults for missing keys, out-of-range
    // values replaced by their defaults, the parameter lists completed.
    static AppSettingsData load(const QString& path);
    static bool write(const AppSettingsData& data, const QString& path);

    static constexpr const char* kFileName = "settings.ini";

    AppSettings(const AppSettings&) = delete;
    AppSettings& operator=(const AppSettings&) = delete;

private:
    AppSettings();

    mutable QRecursiveMutex m_mutex;
    QMutex m_fileMutex;
    quint64 m_copiesTaken = 0; // under m_mutex: copies taken by save()
    quint64 m_copyOnDisk = 0;  // under m_fileMutex: the newest copy written
};

// Calibration values of a newly created console: tip radius down, tip radius
// up, probe height, needle bias, roughness ratio.
QVector<double> defaultConsoleCalibration();
