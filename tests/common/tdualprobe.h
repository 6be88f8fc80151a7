#pragma once
// Test access to the window's controls and program-wide values.

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include <memory>

#include "TDual.h"

class TDualProbe {
public:
    template <typename T = QWidget> static T* W(TDual& d, const char* name)
    {
        T* widget = d.findChild<T*>(QLatin1String(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
    static QAbstractButton* Button(TDual& d, const char* name)
    {
        return W<QAbstractButton>(d, name);
    }

    static bool& Connected(TDual& d) { return d.Connected; }
    static bool& AwaitingReply(TDual& d) { return d.AwaitingReply; }
    static qint8& WizardStep(TDual& d) { return d.WizardStep; }
    static quint8& LastWriteCommand(TDual& d) { return d.LastWriteCommand; }
    static int& LastFrameLength(TDual& d) { return d.LastFrameLength; }
    static int& RadioModel(TDual& d) { return d.RadioModel; }
    static std::array<quint8, 4>& RadioSerial(TDual& d) { return d.RadioSerial; }
    static bool& FirmwareActive(TDual& d) { return d.FirmwareActive; }
    static quint8& LoaderState(TDual& d) { return d.LoaderState; }
    static int& TargetRadioId(TDual& d) { return d.TargetRadioId; }
    static int& BypassMinutes(TDual& d) { return d.BypassMinutes; }
    static int& AckTimeout(TDual& d) { return d.AckTimeout; }
    static QString& ReplyTimeText(TDual& d) { return d.ReplyTimeText; }
    static comm::PortSettings& PortSettings(TDual& d) { return d.ComPort1Settings; }
    static QSerialPort& Port(TDual& d) { return d.ComPort1; }
    static QTimer& TimerRX(TDual& d) { return d.TimerRX; }
    static int RxCount(TDual& d) { return d.RxBuffer.Count(); }
    static int CarryCount(TDual& d) { return d.CarryBuffer.Count(); }

    static QString Log(TDual& d) { return W<QPlainTextEdit>(d, "Tx")->toPlainText(); }
    static QString StatusText(TDual& d) { return W<QStatusBar>(d, "Status")->currentMessage(); }
    static void ProcessReceived(TDual& d, const QByteArray& burst) { d.ProcessReceived(burst); }
    static void SendCommand(TDual& d, int id, quint8 code, quint8 a1, quint8 a2, quint8 a3)
    {
        d.SendCommand(id, code, a1, a2, a3);
    }
    static void SendFrame(TDual& d, int id, const QByteArray& body) { d.SendFrame(id, body); }
    static void ClearReadings(TDual& d) { d.ClearReadings(); }
    static void RequestLocalRead(TDual& d) { d.RequestLocalRead(); }

    // Errors that the window would have shown in a box.
    static std::shared_ptr<QStringList> CatchErrors(TDual& d)
    {
        auto shown = std::make_shared<QStringList>();
        d.ErrorDisplay = [shown](const QString& text) { shown->append(text); };
        return shown;
    }
    static void SelectRadio(TDual& d, int id) { d.ID->setCurrentIndex(id); }

    // Radio configuration.
    static void ShowWizardStep(TDual& d, int step) { d.ShowWizardStep(step); }
    static quint32& NewPassword(TDual& d) { return d.NewPassword; }
    static quint32& OldPassword(TDual& d) { return d.OldPassword; }
    static QString ParamText(TDual& d, int row, int column)
    {
        const QTableWidgetItem* cell = d.Param->item(row, column);
        return cell ? cell->text() : QString();
    }
    static QStringList ParamColumn(TDual& d, int column)
    {
        QStringList texts;
        for (int row = 0; row < 10; ++row)
            texts << ParamText(d, row, column);
        return texts;
    }

    // Firmware upgrade.
    static QString& FirmwarePath(TDual& d) { return d.FirmwarePath; }
    static quint32& FirmwareTotal(TDual& d) { return d.FirmwareTotal; }
    static quint32& FirmwareSent(TDual& d) { return d.FirmwareSent; }
    static int& ResumeSection(TDual& d) { return d.ResumeSection; }
    static int& RadioVariant(TDual& d) { return d.RadioVariant; }
    static bool& CancelRequested(TDual& d) { return d.CancelRequested; }
    static bool& PauseRequested(TDual& d) { return d.PauseRequested; }
    static int& RetriesLeft(TDual& d) { return d.RetriesLeft; }
    static QTimer& TimerACK(TDual& d) { return d.Timer_ACK; }
    static void TimerACKFires(TDual& d) { d.Timer_ACKTimer(); }
    // The open-file dialog answers with this path ("" = cancelled) and counts its calls.
    static std::shared_ptr<int> AnswerFirmwareDialog(TDual& d, const QString& path)
    {
        auto asked = std::make_shared<int>(0);
        d.AskFirmwarePath = [asked, path] {
            ++*asked;
            return path;
        };
        return asked;
    }
};
