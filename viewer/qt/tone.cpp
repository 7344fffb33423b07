#include "viewer/qt/tone.h"

#include <QApplication>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace {
constexpr int SampleRate = 44100;
constexpr double Amplitude = 0.4 * INT16_MAX;
// Ramps in and out, so the tone starts and ends without a click.
constexpr int RampSamples = SampleRate / 200;

QByteArray SineSamples(int frequencyHz, int milliseconds)
{
    const int count = int(int64_t(SampleRate) * std::max(milliseconds, 0) / 1000);
    QByteArray bytes(qsizetype(count) * qsizetype(sizeof(int16_t)), Qt::Uninitialized);
    auto* samples = reinterpret_cast<int16_t*>(bytes.data());
    const double step = 2.0 * std::numbers::pi * frequencyHz / SampleRate;
    for (int i = 0; i < count; i++) {
        double ramp = std::min({1.0, double(i) / RampSamples, double(count - 1 - i) / RampSamples});
        samples[i] = int16_t(std::lround(Amplitude * ramp * std::sin(step * i)));
    }
    return bytes;
}
} // namespace

void PlayTone(QObject* owner, int frequencyHz, int milliseconds)
{
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    QAudioFormat format;
    format.setSampleRate(SampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (device.isNull() || !device.isFormatSupported(format)) {
        QApplication::beep();
        return;
    }
    auto* sink = new QAudioSink(device, format, owner);
    auto* buffer = new QBuffer(sink);
    buffer->setData(SineSamples(frequencyHz, milliseconds));
    buffer->open(QIODevice::ReadOnly);
    QObject::connect(sink, &QAudioSink::stateChanged, sink, [sink](QAudio::State state) {
        if (state == QAudio::IdleState)
            sink->stop(); // played out
        else if (state == QAudio::StoppedState)
            sink->deleteLater();
    });
    // A device that stalls never reaches the idle state: the sink goes anyway.
    QTimer::singleShot(milliseconds + 2000, sink, [sink] {
        sink->stop();
        sink->deleteLater();
    });
    sink->start(buffer);
}
