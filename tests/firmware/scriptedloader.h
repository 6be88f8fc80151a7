#pragma once
// The transfer's window side, scripted: frames go to a simulated radio loader, whose replies
// reach the transfer as the dispatcher's loader step hands them over; a wait without a
// reply runs into its time-out at once. Hooks play the user clicking during a wait.

#include <QBuffer>
#include <QList>

#include <functional>
#include <optional>

#include "firmware/loaderreply.h"
#include "firmware/transfer.h"
#include "firmwarefiles.h"
#include "link/frame.h"
#include "radiosim/radiomodel.h"

class ScriptedLoader : public firmware::TransferHost, public firmware::HeldTransferValues {
public:
    radiosim::RadioModel radio; // the loader
    // The reply as it reaches the tool: std::nullopt drops it. Called with the request.
    std::function<std::optional<QByteArray>(const QByteArray& request, const QByteArray& reply)>
        line;
    // Runs at the start of wait number n (1, 2, ...), as a click during it would.
    std::function<void(int n)> duringWait;
    bool linkLost = false;
    qint64 replyMs = 0; // time a reply takes on the clock

    QList<QByteArray> sent; // frames, in order
    QList<int> waits; // the time-out of every wait
    QList<int> progress;
    QString position = QStringLiteral("0x0000"); // PosFW
    LogModel log;
    qint64 now = 0;

    ScriptedLoader()
    {
        radio.state.id = 3;
        lastWriteCommand = 202; // a write awaiting confirmation: every loader command clears it
    }

    bool Run(const QByteArray& file, bool resume = false, int radioId = 3)
    {
        QBuffer buffer;
        buffer.setData(file);
        buffer.open(QIODevice::ReadOnly);
        return firmware::TransferFirmware(buffer, resume, radioId, Values(), *this);
    }

    // Codes of the frames sent, in order.
    QList<int> Codes() const
    {
        QList<int> codes;
        for (const QByteArray& frame : sent)
            codes << int(comm::FrameCode(frame));
        return codes;
    }
    int Count(int code) const { return int(Codes().count(code)); }

    void AddLogLine(const QString& text) override { log.AddLogLine(text); }
    void AppendLog(const QString& text) override { log.AppendLog(text); }
    void LogTail() override { log.LogTail(); }
    void SendCommand(int radioId, quint8 code, quint8 a1, quint8 a2, quint8 a3) override
    {
        SendFrame(radioId, comm::CommandBody(code, a1, a2, a3));
    }
    int SendFrame(int radioId, const QByteArray& body) override
    {
        const QByteArray frame = *comm::BuildFrame(radioId, body);
        sent << frame;
        target_ = radioId;
        pending_.clear();
        for (const QByteArray& reply : radio.Receive(frame)) {
            const auto arrived = line ? line(frame, reply) : std::optional<QByteArray>(reply);
            if (arrived)
                pending_ << *arrived;
        }
        return int(frame.size());
    }
    void WaitLoaderReply(int timeoutMs) override
    {
        waits << timeoutMs;
        if (duringWait)
            duringWait(int(waits.size()));
        if (linkLost)
            pending_.clear(); // nothing arrives over a pulled cable
        for (const QByteArray& reply : std::exchange(pending_, {}))
            Deliver(reply);
        if (loaderState == firmware::loader::Waiting) {
            loaderState = firmware::loader::TimedOut;
            now += timeoutMs;
        } else {
            now += replyMs;
        }
    }
    bool LinkLost() override { return linkLost; }
    void SetProgress(int percent) override { progress << percent; }
    QString ResumePosition() override { return position; }
    void SetResumePosition(const QString& text) override { position = text; }
    qint64 ElapsedMs() override { return now; }

private:
    // The dispatcher's loader step.
    void Deliver(const QByteArray& frame)
    {
        const int code = comm::FrameCode(frame);
        if (frame.size() < 5 || !firmwareActive || loaderState != 0
            || comm::FrameRadioId(frame) != target_
            || !(code == 235 || code == 233 || code == 234 || code == 212 || code == 226))
            return;
        const firmware::LoaderReply reply = firmware::DecodeLoaderReply(frame, expectedAddress);
        if (!reply.complete)
            return;
        if (reply.radioModel)
            radioModel = *reply.radioModel;
        if (reply.radioVariant)
            radioVariant = *reply.radioVariant;
        loaderState = reply.state;
        log.AppendLog(reply.text);
    }

    QList<QByteArray> pending_;
    int target_ = -1;
};
