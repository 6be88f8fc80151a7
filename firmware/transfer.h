#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <chrono>

#include "firmware/logsink.h"

namespace firmware {

// Reply time-outs: the TIMEOUT buttons choose the one of 226, 233 and 235; the end of load
// has its own.
constexpr std::chrono::milliseconds AckTimeout1s { 1000 };
constexpr std::chrono::milliseconds AckTimeout15s { 1500 };
constexpr std::chrono::milliseconds AckTimeout2s { 2000 };
constexpr std::chrono::milliseconds AckTimeout3s { 3000 };
constexpr std::chrono::milliseconds AckTimeout5s { 5000 };
constexpr std::chrono::milliseconds AckTimeout7s { 7000 };
constexpr std::chrono::milliseconds EndOfLoadTimeout { 10000 };

// Retries after the first attempt of each step.
constexpr int IdentityRetries = 5;
constexpr int EraseRetries = 5;
constexpr int DataRetries = 125;
constexpr int EndRetries = 20;

// Log line when the serial port vanished (cable pulled) during a transfer.
inline const QString LinkLostText = QStringLiteral("Conexão com o rádio perdida");

// The program-wide values the transfer shares with the handlers that run nested inside its
// waits (the dispatcher's loader step, the time-out timer, PAUSA, CANCELA, the TIMEOUT
// buttons). They are read again at every test.
struct TransferValues {
    bool& firmwareActive;
    quint8& loaderState;
    int& radioModel;
    int& radioVariant;
    quint32& firmwareSent;
    const quint32& firmwareTotal;
    int& resumeSection;
    int& expectedAddress;
    const bool& cancelRequested;
    const bool& pauseRequested;
    int& retriesLeft;
    bool& awaitingReply;
    quint8& lastWriteCommand;
    const int& ackTimeout; // ms
};

// The shared values held in one object, for a transfer run outside the window (tests,
// benchmarks, fuzzing).
struct HeldTransferValues {
    bool firmwareActive = false;
    quint8 loaderState = 0;
    int radioModel = 0;
    int radioVariant = 0;
    quint32 firmwareSent = 1;
    quint32 firmwareTotal = 1;
    int resumeSection = 0;
    int expectedAddress = 0;
    bool cancelRequested = false;
    bool pauseRequested = false;
    int retriesLeft = 0;
    bool awaitingReply = false;
    quint8 lastWriteCommand = 0;
    int ackTimeout = 7000; // ms

    TransferValues Values()
    {
        return { firmwareActive, loaderState, radioModel, radioVariant, firmwareSent, firmwareTotal,
            resumeSection, expectedAddress, cancelRequested, pauseRequested, retriesLeft,
            awaitingReply, lastWriteCommand, ackTimeout };
    }
};

// What the transfer needs from the window.
class TransferHost : public LogSink {
public:
    virtual void SendCommand(int radioId, quint8 code, quint8 a1, quint8 a2, quint8 a3) = 0;
    // Returns the length of the frame built (LastFrameLength), written or not.
    virtual int SendFrame(int radioId, const QByteArray& body) = 0;
    // Blocks until loaderState is no longer 0; the time-out sets it to 5.
    virtual void WaitLoaderReply(int timeoutMs) = 0;
    // The serial port vanished since the transfer began.
    virtual bool LinkLost() = 0;
    virtual void SetProgress(int percent) = 0; // andamento
    virtual QString ResumePosition() = 0; // PosFW
    virtual void SetResumePosition(const QString& text) = 0;
    virtual qint64 ElapsedMs() = 0; // a monotonic clock
};

// Loads the firmware file at path into the radio radioId through its loader; resume goes on
// at the record where a stop request ended the last call. True on success; every failure
// has logged its line.
bool TransferFirmware(
    const QString& path, bool resume, int radioId, TransferValues values, TransferHost& host);
// The same on a file already open for reading.
bool TransferFirmware(
    QIODevice& file, bool resume, int radioId, TransferValues values, TransferHost& host);

// The statistics line: "FILE: " or "RF:   ", bytes, seconds and the rate at ten bits a byte.
QString StatisticsLine(const char* label, int bytes, double seconds);

} // namespace firmware
