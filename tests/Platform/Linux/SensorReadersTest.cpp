#include "Platform/Linux/EvdevMotionSensor.h"
#include "Platform/Linux/HIDLidAngleReader.h"
#include "Platform/Linux/LinuxMotionSensors.h"
#include "support/TestFolders.h"

#include <gtest/gtest.h>

#include <linux/input.h>
#include <unistd.h>

#include <condition_variable>
#include <mutex>

using namespace std::chrono_literals;

namespace {

// Readings handed over on a sensor's thread, waited for by the test.
struct Readings {
    std::mutex mutex;
    std::condition_variable arrived;
    std::vector<MotionSample> samples;

    MotionSensor::Handler handler()
    {
        return [this](const MotionSample &sample) {
            std::lock_guard lock(mutex);
            samples.push_back(sample);
            arrived.notify_all();
        };
    }
    std::optional<MotionSample> waitFor(const std::function<bool(const MotionSample &)> &wanted)
    {
        std::unique_lock lock(mutex);
        std::optional<MotionSample> found;
        arrived.wait_for(lock, 10s, [&] {
            for (const auto &sample : samples) {
                if (wanted(sample))
                    found = sample;
            }
            return found.has_value();
        });
        return found;
    }
};

QString iioDevice(const TestFolder &root, int index, const std::map<QString, QByteArray> &files)
{
    const QString device = QStringLiteral("bus/iio/devices/iio:device%1").arg(index);
    root.makeDir(device);
    for (const auto &[name, content] : files)
        root.write(device + u'/' + name, content);
    return root.filePath(device);
}

}

TEST(HIDLidAngleReader, FindsNoSensorOnAMachineWithoutOne)
{
    TestFolder root;
    iioDevice(root, 0, {{"in_accel_x_raw", "0"}, {"in_accel_y_raw", "0"}, {"in_accel_z_raw", "0"}});
    EXPECT_FALSE(HIDLidAngleReader::matchingService(root.path()));
    HIDLidAngleReader reader(root.path());
    EXPECT_FALSE(reader.isAvailable());
    EXPECT_FALSE(reader.readAngle());
}

TEST(HIDLidAngleReader, ReadsTheHingeChannelInDegrees)
{
    TestFolder root;
    iioDevice(root, 0, {{"in_illuminance_raw", "300"}});
    const QString hinge = iioDevice(root, 1, {{"name", "hinge"}, {"in_angl0_raw", "1571"}, {"in_angl_scale", "0.001"}});
    EXPECT_EQ(HIDLidAngleReader::matchingService(root.path()), hinge);
    HIDLidAngleReader reader(root.path());
    ASSERT_TRUE(reader.isAvailable());
    EXPECT_NEAR(reader.readAngle().value_or(-1), 90.0, 0.1);

    const std::vector<std::pair<QByteArray, std::optional<double>>> readings{
        {"0\n", 0.0}, {"3142\n", 180.0}, {"busy", std::nullopt}, {"7000", std::nullopt}};
    for (const auto &[raw, degrees] : readings) {
        root.write(QStringLiteral("bus/iio/devices/iio:device1/in_angl0_raw"), raw);
        const auto angle = reader.readAngle();
        ASSERT_EQ(angle.has_value(), degrees.has_value()) << raw.constData();
        if (degrees) {
            EXPECT_NEAR(*angle, *degrees, 0.1);
        }
    }
}

TEST(LinuxMotionSensors, PrefersTheAccelerometerInTheBase)
{
    TestFolder root;
    EXPECT_EQ(LinuxMotionSensors::findIio(root.path()), nullptr);
    iioDevice(root, 0, {{"label", "accel-display"}, {"in_accel_x_raw", "0"}, {"in_accel_y_raw", "0"},
                        {"in_accel_z_raw", "-9807"}, {"in_accel_scale", "0.001"}});
    iioDevice(root, 1, {{"label", "accel-base"}, {"in_accel_x_raw", "4903"}, {"in_accel_y_raw", "0"},
                        {"in_accel_z_raw", "9807"}, {"in_accel_scale", "0.001"}, {"in_accel_x_scale", "0.002"}});
    auto sensor = LinuxMotionSensors::findIio(root.path());
    ASSERT_NE(sensor, nullptr);
    Readings readings;
    ASSERT_TRUE(sensor->start(readings.handler(), QStringLiteral("local.knockwell.accelerometer")));
    const auto first = readings.waitFor([](const MotionSample &) { return true; });
    ASSERT_TRUE(first);
    EXPECT_NEAR(first->x, 1.0, 0.01); // its own scale wins over the shared one
    EXPECT_NEAR(first->y, 0.0, 0.01);
    EXPECT_NEAR(first->z, 1.0, 0.01);

    root.write(QStringLiteral("bus/iio/devices/iio:device1/in_accel_y_raw"), "-9807");
    EXPECT_TRUE(readings.waitFor([](const MotionSample &sample) { return sample.y < -0.9; }));
    sensor->stop();
}

TEST(EvdevMotionSensor, ReadsOneSamplePerReportInG)
{
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    EvdevMotionSensor sensor(UniqueFd(ends[0]), {EvdevMotionSensor::Axis{0, 256}, {0, 256}, {256, 256}});
    Readings readings;
    ASSERT_TRUE(sensor.start(readings.handler(), QStringLiteral("local.knockwell.accelerometer")));
    const auto event = [](std::uint16_t type, std::uint16_t code, std::int32_t value) {
        input_event record{};
        record.type = type;
        record.code = code;
        record.value = value;
        return record;
    };
    const input_event records[] = {event(EV_ABS, ABS_X, 128), event(EV_SYN, SYN_REPORT, 0),
                                   event(EV_ABS, ABS_Z, -512), event(EV_SYN, SYN_REPORT, 0)};
    ASSERT_EQ(write(ends[1], records, sizeof records), ssize_t(sizeof records));
    ASSERT_TRUE(readings.waitFor([](const MotionSample &sample) { return sample.z < 0; }));
    sensor.stop();
    ::close(ends[1]);
    ASSERT_EQ(readings.samples.size(), 2u);
    EXPECT_DOUBLE_EQ(readings.samples[0].x, 0.5);
    EXPECT_DOUBLE_EQ(readings.samples[0].z, 1.0);
    EXPECT_DOUBLE_EQ(readings.samples[1].x, 0.5);
    EXPECT_DOUBLE_EQ(readings.samples[1].z, -2.0);
    EXPECT_GT(readings.samples[1].uptimeSeconds, 0.0);
}
