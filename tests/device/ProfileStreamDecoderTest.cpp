#include "ProfileStreamDecoder.h"

#include "ActionText.h"
#include "ControllerFrames.h"
#include "TestMain.h"

#include <algorithm>

namespace {

// Feeds the stream the way the link reads it: every read asks for
// bytesWanted() bytes, and the last one may come back short.
DeviceActions readLikeTheLink(ProfileStreamDecoder& decoder, const std::string& stream, bool tracing = false)
{
    DeviceActions out;
    std::size_t position = 0;
    while (position < stream.size()) {
        const std::size_t size = std::min(decoder.bytesWanted(), stream.size() - position);
        decoder.decode(std::string_view(stream).substr(position, size), tracing, out);
        position += size;
    }
    return out;
}


std::vector<uint16_t> rampSamples(int size)
{
    std::vector<uint16_t> samples;
    for (int i = 0; i < size; ++i)
        samples.push_back(uint16_t(i * 3 + 1));
    return samples;
}

int pointCount(const DeviceActions& actions)
{
    return int(std::count_if(actions.begin(), actions.end(),
                             [](const DeviceAction& a) { return a.kind == DeviceAction::DataRecieved; }));
}

const QString kBlockEnd[] = {QStringLiteral("clearTracing"), QStringLiteral("pushButtonStopTrace")};

} // namespace

class ProfileStreamDecoderTest : public QObject
{
    Q_OBJECT

private slots:
    void workedBlockVector();
    void frames_data();
    void frames();
    void zeroFrameKeepsTheReading();
    void blocks_data();
    void blocks();
    void truncatedBlock_data();
    void truncatedBlock();
    void blockWithTotalZeroKeepsPositionsFinite();
    void silenceShiftsZerosIntoTheWindow();
    void oneChunkDecodesLikeSingleReads();
    void resetForgetsAPartialFrameAndBlock();
};

void ProfileStreamDecoderTest::workedBlockVector()
{
    ProfileStreamDecoder decoder;
    const DeviceActions actions =
        readLikeTheLink(decoder, hexBytes("00 00 00 01|00 10 10|00 00 00|40 42 0F|02 00|00 00|01 02|00 64"), true);
    const QStringList expected{"dataReset",
                               "log ADCZStep = 1000000",
                               "log newBytes = @B\\x0f",
                               "dataRecieved(2.58, 0, 0, 100)",
                               "dataRecieved(1, 0, 500, 100)",
                               kBlockEnd[0],
                               kBlockEnd[1]};
    QCOMPARE(actionText(actions), expected);
    QCOMPARE(actions[1].text, std::string("ADCZStep = 1000000"));
    QCOMPARE(actions[2].text, std::string("newBytes = \x40\x42\x0F"));
    QCOMPARE(actions[3].probeHeight, 258 * 1000000 * 0.00000001);
    QCOMPARE(decoder.pointTotal(), 2);
    QVERIFY(!decoder.isInBlock());
}

void ProfileStreamDecoderTest::frames_data()
{
    QTest::addColumn<QByteArray>("stream");
    QTest::addColumn<bool>("tracing");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("zero frame while idle") << QByteArray("5A 12 34 00") << false << QStringList{"send CT", "setBarValue(60875)"};
    QTest::newRow("zero frame while tracing") << QByteArray("5A 12 34 00") << true << QStringList();
    QTest::newRow("start frame, then points")
        << QByteArray("53 54 90 01 | 42 01 00 42 | 42 00 01 42") << true
        << QStringList{"setBarValue(65279)", "dataRecieved(256, 0, 0, 1)", "setBarValue(65534)",
                       "dataRecieved(1, 0, 100, 1)"};
    QTest::newRow("S without T is no frame") << QByteArray("53 55 01 02") << false << QStringList();
    QTest::newRow("B without closing B is no frame") << QByteArray("42 01 02 03") << false << QStringList();
    QTest::newRow("heights of 0x42 bytes give one point per frame")
        << QByteArray("53 54 02 00 | 42 42 42 42 | 42 00 42 42") << true
        << QStringList{"setBarValue(48573)", "dataRecieved(16962, 0, 0, 1)", "setBarValue(65469)",
                       "dataRecieved(66, 0, 20000, 1)"};
    QTest::newRow("height 0x5354 is no start frame")
        << QByteArray("53 54 02 00 | 42 53 54 42 | 42 53 54 42") << true
        << QStringList{"setBarValue(44203)", "dataRecieved(21332, 0, 0, 1)", "setBarValue(44203)",
                       "dataRecieved(21332, 0, 20000, 1)"};
    QTest::newRow("height bytes 0x5A are no zero frame")
        << QByteArray("42 5A 00 42 | 42 01 5A 42 | 42 00 00 42") << false
        << QStringList{"setBarValue(42495)", "dataRecieved(23040, 0, 0, 1)", "setBarValue(65189)",
                       "dataRecieved(346, 0, 40000, 1)", "setBarValue(65535)", "dataRecieved(0, 0, 80000, 1)"};
    QTest::newRow("before any start frame the total is 1")
        << QByteArray("42 00 01 42 | 42 00 02 42") << true
        << QStringList{"setBarValue(65534)", "dataRecieved(1, 0, 0, 1)", "setBarValue(65533)",
                       "dataRecieved(2, 0, 40000, 1)"};
    QTest::newRow("a start frame with total 0 counts as 1")
        << QByteArray("53 54 00 00 | 42 00 01 42 | 42 00 02 42") << true
        << QStringList{"setBarValue(65534)", "dataRecieved(1, 0, 0, 1)", "setBarValue(65533)",
                       "dataRecieved(2, 0, 40000, 1)"};
    QTest::newRow("bytes between frames are skipped")
        << QByteArray("07 42 08 | 42 00 01 42 | 53 | 5A 00 10 00") << false
        << QStringList{"setBarValue(65534)", "dataRecieved(1, 0, 0, 1)", "send CT", "setBarValue(65519)"};
}

void ProfileStreamDecoderTest::frames()
{
    QFETCH(QByteArray, stream);
    QFETCH(bool, tracing);
    QFETCH(QStringList, expected);
    ProfileStreamDecoder decoder;
    QCOMPARE(actionText(readLikeTheLink(decoder, hexBytes(stream.constData()), tracing)), expected);
}

void ProfileStreamDecoderTest::zeroFrameKeepsTheReading()
{
    ProfileStreamDecoder decoder;
    readLikeTheLink(decoder, hexBytes("5A 12 34 00"), false);
    QCOMPARE(decoder.consoleHeight(), 4660);
    readLikeTheLink(decoder, hexBytes("5A 00 01 00"), true);
    QCOMPARE(decoder.consoleHeight(), 4660);
}

void ProfileStreamDecoderTest::blocks_data()
{
    QTest::addColumn<uint32_t>("count");
    QTest::addColumn<int>("samples");

    QTest::newRow("count 4096, no samples") << uint32_t(0x001000) << 0;
    QTest::newRow("count below 4096, no samples") << uint32_t(0x000008) << 0;
    QTest::newRow("low count bits are dropped") << uint32_t(0x001007) << 0;
    QTest::newRow("2 samples") << uint32_t(0x001010) << 2;
    QTest::newRow("128 samples") << uint32_t(0x001400) << 128;
}

void ProfileStreamDecoderTest::blocks()
{
    QFETCH(uint32_t, count);
    QFETCH(int, samples);
    const uint16_t total = uint16_t(std::max(samples, 1));
    ProfileStreamDecoder decoder;
    const DeviceActions actions = readLikeTheLink(decoder, ControllerFrames::blockTransferWithCount(count, rampSamples(samples), 250, total), true);

    QCOMPARE(int(actions.size()), 3 + samples + 2);
    QCOMPARE(actions.front().kind, DeviceAction::DataReset);
    QCOMPARE(pointCount(actions), samples);
    QCOMPARE(actions[actions.size() - 2].toString(), kBlockEnd[0]);
    QCOMPARE(actions.back().toString(), kBlockEnd[1]);
    if (samples > 0) {
        const DeviceAction& last = actions[actions.size() - 3];
        QCOMPARE(last.probeHeight, double((samples - 1) * 3 + 1) * 250 * 0.00000001);
        QCOMPARE(last.xPosition, double(samples - 1) / total * 1000);
        QCOMPARE(last.value, 100);
    }
    QVERIFY(!decoder.isInBlock());
}

void ProfileStreamDecoderTest::truncatedBlock_data()
{
    QTest::addColumn<int>("bytesOfBlock");
    QTest::addColumn<int>("points");
    QTest::addColumn<bool>("stepLogged");

    // The block announces 128 samples; the header and fields take 17 bytes.
    QTest::newRow("inside the count") << 5 << 0 << false;
    QTest::newRow("inside the step") << 11 << 0 << false;
    QTest::newRow("before the samples") << 17 << 0 << true;
    QTest::newRow("ten and a half samples") << 17 + 21 << 10 << true;
    QTest::newRow("one byte short") << 17 + 255 << 127 << true;
}

void ProfileStreamDecoderTest::truncatedBlock()
{
    QFETCH(int, bytesOfBlock);
    QFETCH(int, points);
    QFETCH(bool, stepLogged);
    ProfileStreamDecoder decoder;
    const std::string block = ControllerFrames::blockTransfer(rampSamples(128), 1000, 128);
    DeviceActions actions = readLikeTheLink(decoder, block.substr(0, std::size_t(bytesOfBlock)), true);
    decoder.decode({}, true, actions); // the line goes quiet

    QCOMPARE(pointCount(actions), points);
    const bool logged = std::any_of(actions.begin(), actions.end(), [](const DeviceAction& a) { return a.kind == DeviceAction::LogInfo; });
    QCOMPARE(logged, stepLogged);
    QCOMPARE(actions[actions.size() - 2].toString(), kBlockEnd[0]);
    QCOMPARE(actions.back().toString(), kBlockEnd[1]);
    QVERIFY(!decoder.isInBlock());

    const QStringList afterwards = actionText(readLikeTheLink(decoder, hexBytes("42 00 05 42"), true));
    QCOMPARE(afterwards.size(), 2);
    QCOMPARE(afterwards[1], QStringLiteral("dataRecieved(5, 0, %1, 1)").arg(points * 40000.0 / 128));
}

void ProfileStreamDecoderTest::blockWithTotalZeroKeepsPositionsFinite()
{
    ProfileStreamDecoder decoder;
    const QStringList text = actionText(readLikeTheLink(decoder, ControllerFrames::blockTransfer({1, 2}, 100, 0), true));
    QCOMPARE(text.mid(3, 2), (QStringList{"dataRecieved(1e-06, 0, 0, 100)", "dataRecieved(2e-06, 0, 1000, 100)"}));
}

void ProfileStreamDecoderTest::silenceShiftsZerosIntoTheWindow()
{
    ProfileStreamDecoder decoder;
    DeviceActions out;
    for (int i = 0; i < 2; ++i)
        decoder.decode({}, false, out);
    decoder.decode("\x01", false, out);
    QVERIFY(out.empty());

    for (int i = 0; i < 3; ++i)
        decoder.decode({}, false, out);
    decoder.decode("\x01", false, out);
    QCOMPARE(actionText(out), QStringList{"dataReset"});
    QVERIFY(decoder.isInBlock());
    QCOMPARE(decoder.bytesWanted(), std::size_t(3));
}

void ProfileStreamDecoderTest::oneChunkDecodesLikeSingleReads()
{
    const std::string stream = hexBytes("5A 00 10 00 53 54 03 00 42 00 01 42 42 00 02 42 99")
        + ControllerFrames::blockTransfer({5, 6, 7}, 7, 3) + hexBytes("42 01 01 42 5A 00 20 00");
    ProfileStreamDecoder byReads;
    const QStringList expected = actionText(readLikeTheLink(byReads, stream));
    ProfileStreamDecoder byChunk;
    DeviceActions chunked;
    byChunk.decode(stream, false, chunked);
    QCOMPARE(actionText(chunked), expected);
    QCOMPARE(expected.size(), 2 + 4 + 3 + 3 + 2 + 2 + 2);
}

void ProfileStreamDecoderTest::resetForgetsAPartialFrameAndBlock()
{
    ProfileStreamDecoder decoder;
    readLikeTheLink(decoder, hexBytes("53 54 90 01 42 00 01 42 42 00 01"), true);
    QCOMPARE(decoder.pointTotal(), 400);
    decoder.reset();
    QCOMPARE(decoder.pointTotal(), 1);
    QCOMPARE(decoder.pointIndex(), 0);
    QVERIFY(readLikeTheLink(decoder, hexBytes("42"), true).empty());

    readLikeTheLink(decoder, ControllerFrames::blockTransfer({}, 1, 2, 2).substr(0, 7), true);
    QVERIFY(decoder.isInBlock());
    decoder.reset();
    QVERIFY(!decoder.isInBlock());
    QCOMPARE(decoder.bytesWanted(), std::size_t(1));
}

KALVORA_TEST_MAIN(ProfileStreamDecoderTest)
#include "ProfileStreamDecoderTest.moc"
