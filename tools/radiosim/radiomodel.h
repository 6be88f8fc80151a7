#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <array>
#include <functional>

namespace radiosim {

// The diagnostic counters a radio reports (reply code 231). Multi-byte values travel high
// byte first.
struct Diagnostics {
    quint8 tempMin = 21;
    quint8 tempCurrent = 27;
    quint8 tempMax = 43;
    quint8 supplyMin = 32;
    quint8 supplyAverage = 33;
    quint8 supplyMax = 34;
    quint16 resets = 3;
    quint16 powerOnResets = 2;
    quint16 watchdogResets = 1;
    quint8 statusFlags = 0x00;
    quint32 uptimeSeconds = 90061;
    quint32 resetTime = 3600;
    quint16 battery = 0;
    quint8 masterStatus = 0x01;
    quint8 lineVoltage = 12;
    quint32 eventsSent = 1520;
    quint32 eventsRefused = 4;
    quint16 levelL1 = 512;
    quint16 levelL2 = 498;
    quint16 maxLevelL1 = 730;
    quint16 maxLevelL2 = 702;
    bool batteryVoltages = true; // marker 0x55 at byte 44 and bytes 45..47
    quint8 batteryMin = 118; // tenths of a volt
    quint8 batteryCurrent = 125;
    quint8 batteryMax = 136;

    // Reply bytes 3 onward (41 bytes, or 45 with the battery voltages).
    QByteArray Encode() const;
    // Fills the fields from reply bytes 3 onward; false (and nothing changed) when the
    // record is shorter than 41 bytes. Bytes 44..47 are read only when present.
    bool Decode(const QByteArray& record);
};

struct RadioState {
    // Identity, as the parameter reply carries it.
    quint16 id = 1;
    std::array<quint8, 4> serial { { 0, 0, 154, 78 } };
    quint8 hardware = 14;
    quint8 firmwareVersion = 6;
    quint8 firmwareRevision = 11;
    quint8 channel = 1;
    quint8 bank = 0;
    quint8 marker3 = 0; // parameter reply byte 3
    // Non-master radios.
    quint8 protocol = 0;
    quint8 partition = 0;
    bool lowVoltage = false;
    // Master radio (ID 0).
    quint8 surgardMode = 0;
    quint8 commandEvent = 0;
    quint16 periodicMinutes = 60;

    // Password.
    quint32 password = 0;
    bool locked = false;

    // Client codes, raw bytes as stored (4 each; a shorter code ends with a zero byte).
    std::array<QByteArray, 9> clientCodes {};
    quint8 clientFormat = 0x00; // 0x00 basic; 0x55, 0x56, 0x57 extended
    quint8 communicationType = 1;
    quint8 eventsPartition = 0;
    quint16 inputPin1 = 130; // bits 0..14 event, bit 15 invert
    quint16 inputPin2 = 0x8000 | 401;

    // Relay and PGM output.
    bool relayOn = false;
    quint8 relayMinutes = 0;
    quint8 pgmPulse = 0; // hundredths of a second, of the last pulse
    int pgmPulses = 0;

    // Noise levels (dB below 1 mW), reply bytes 3, 4, 5.
    quint8 noiseMin = 112;
    quint8 noiseMedium = 104;
    quint8 noiseMax = 96;

    Diagnostics diagnostics;

    // Loader. The flash image runs from address 0 to the highest byte written; bytes never
    // written read 0xFF.
    QByteArray flash;
    quint32 flashBase = 0; // set by extended address records
    int endResult = -1; // result of 234; -1: the value meaning success for the end flag
    int erases = 0;
    int endFlag = -1; // end flag and value of the last 234 received
    quint16 endValue = 0;
    QString flashOutPath; // written after each 234 when not empty
};

// What one piece of line bytes did: a frame or a single byte that is complete, and what
// the radio writes back for it.
struct LineEvent {
    int endOffset = 0; // index in the piece of the byte that completed it
    QByteArray received;
    bool isFrame = false;
    QList<QByteArray> replies;
};

class RadioModel {
public:
    static constexpr quint32 FlashSize = 16u * 1024u * 1024u;

    RadioState state;

    // Bytes from the line, in any pieces. Returns what the radio writes back, in order; each
    // element is one reply written in one go (a frame, or a single echo byte).
    QList<QByteArray> Receive(const QByteArray& bytes);
    // The same, telling where in the piece each frame or single byte ended.
    QList<LineEvent> Feed(const QByteArray& bytes);
    // The line was quiet: drop a partial frame.
    void LineIdle();

    QList<QByteArray> framesReceived; // every complete frame received, in order
    int acknowledgements = 0; // 0x06 bytes received between frames
    int echoes = 0;

    // Notes for the log (bad CRC, dropped bytes, refused commands). May stay empty.
    std::function<void(const QString&)> onNote;

    // An alarm-receiver text message, as a receiver would put it on the line.
    static QByteArray ReceiverMessage();

    // Frame length of a request whose first bytes are given: > 0 the length, 0 when more
    // bytes are needed to tell, -1 when the bytes start no known request.
    static int RequestLength(const QByteArray& head);

    // The replies, from the current state.
    QByteArray ParameterReply(quint8 code) const;
    QByteArray ClientCodeReply() const;
    QByteArray NoiseReply() const;
    QByteArray DiagnosticsReply() const;

    bool WriteFlashImage(const QString& path, QString* error) const;

private:
    QList<QByteArray> HandleFrame(const QByteArray& frame);
    QList<QByteArray> HandleConfigure(const QByteArray& frame);
    QList<QByteArray> HandlePassword(const QByteArray& frame);
    QList<QByteArray> HandleClientCodes(const QByteArray& frame);
    QList<QByteArray> HandleOutputs(const QByteArray& frame);
    QList<QByteArray> HandleData(const QByteArray& frame);
    QList<QByteArray> HandleEnd(const QByteArray& frame);
    void Note(const QString& text) const;
    void DropPending(const QString& why);

    QByteArray pending_; // bytes of a request not complete yet
    bool discarding_ = false; // unparseable bytes: swallowed until the line goes idle
    qint64 discardedBeyond_ = 0;
};

} // namespace radiosim
