#pragma once
// Client codes of the nine partitions, the radio-event partition, the communication type
// and the two not-monitored inputs: command 203, its reply and the rules of their controls.

#include <QByteArray>
#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace partitions {

constexpr int PartitionCount = 9;
constexpr int CodeLength = 4;

// Frame byte 3 of a 203 request.
constexpr quint8 ReadSubcode = 2;
constexpr quint8 WriteCodesOnly = 1; // communication type not known: the nine codes
constexpr quint8 WriteWithReporting = 16; // codes, type, events partition, input events

// Reply byte 49: below ExtendedMarker the basic format.
constexpr quint8 ExtendedMarker = 0x55; // extended, inputs back to their defaults
constexpr quint8 ExtendedInputsMarker = 0x56; // extended with the input events

// Items of the communication-type list; the wire code is the item index plus 1.
constexpr int CommunicationTypeCount = 10;

// Settings of one not-monitored input pin.
struct InputSetting {
    int event = 0;
    bool invert = false;
    bool operator==(const InputSetting& other) const
    {
        return event == other.event && invert == other.invert;
    }
};
constexpr InputSetting Pin1Default { 130, false };
constexpr InputSetting Pin2Default { 401, true };

// Wire form: bits 0..14 the event, bit 15 the invert flag (sent low byte first).
quint16 InputEventWord(const InputSetting& input);
InputSetting InputFromWord(quint16 word);

// Highest event number an input's word can carry.
constexpr int MaxInputEvent = 0x7FFF;
// An event typed from 800 to 899 becomes 900; any other number stays.
int ClampInputEvent(int event);

// The four bytes of one code in a write: empty gives four zero bytes; otherwise the
// characters byte for byte (Latin-1), right-aligned and filled with "0" on the left.
QByteArray EncodeClientCode(const QString& code);

// What a code cell may hold after an edit: the digits and A to F (a to f upper-cased),
// at most four; everything else is dropped.
QString TypedCode(const QString& text);

// The radio-event partition of a write: the last ticked row, 0 when none is ticked.
int EventsPartition(const QList<bool>& ticked);

// The wire code of the communication type: item index plus 1; with no item chosen (a
// reply's type byte that the list does not hold) the byte as the reply brought it.
quint8 CommunicationTypeCode(int item, quint8 received);
// The item a reply's type byte selects: 0 selects item 1, 1..10 the item below it, any
// other byte no item (-1).
int CommunicationTypeItem(quint8 wireCode);

struct Reporting {
    quint8 communicationType = 1; // wire code
    int eventsPartition = 0;
    InputSetting pin1;
    InputSetting pin2;
};

// Body of the write (command code first): mode 1 without reporting settings, 16 with them.
QByteArray ClientCodeWriteBody(const QStringList& codes, const std::optional<Reporting>& reporting);

// What a client-code reply says the controls must show.
struct ClientCodeReply {
    enum class Inputs {
        Unchanged,
        Defaults, // pin 1: 130, pin 2: 401 inverted; the input grid disabled
        FromReply, // the two words of the reply; the input grid enabled
    };
    QStringList codes; // partitions 0.. in order: one for the master radio, nine otherwise
    bool extended = false; // the communication-type box is enabled
    int typeItem = 0; // item of the communication-type box, -1: none
    quint8 typeCode = 1; // type byte as received (extended format)
    int eventsPartition = 0; // the one row ticked under "Eventos Rádio"
    Inputs inputs = Inputs::Unchanged;
    InputSetting pin1 = Pin1Default;
    InputSetting pin2 = Pin2Default;
};

// Frame length up to the last code byte (the nine codes end at byte 47) and up to the
// events-partition byte of the extended format (byte 55).
constexpr int BasicReplyLength = 48;
constexpr int ExtendedReplyLength = 56;

// Decodes a 203 reply as received (CRC bytes included). Nothing for a frame that ends
// before the bytes its format needs.
std::optional<ClientCodeReply> DecodeClientCodes(const QByteArray& frame);

// Which controls the communication type shows.
struct TypeDisplay {
    bool inputs = false; // the input grid (enabled) and the connector picture
    bool notWorkingLabels = false; // "NÃO FUNCIONA" and the two firmware lines
    bool jflLabels = false; // the JFL / COMPATEC firmware and serial-number lines
};
TypeDisplay DisplayForType(int item);

// Only partition 0 can be typed while the communication type is not known (basic format).
bool CodeRowTypeable(int row, bool typeKnown);

// What a key typed in the partition grid does.
struct CodeKey {
    int row = 0; // the row selected after the key (Enter moves one down)
    bool accepted = false; // false: the key is cancelled and the row's code emptied
    QChar character; // the accepted key, a to f in upper case; Backspace stays 8
    bool touchesCell = true; // false: Enter on the last row, which changes no code
};
constexpr char16_t Backspace = 8;
constexpr char16_t Enter = 13;
CodeKey FilterCodeKey(QChar key, int row, bool typeKnown);
// Tab and Escape are not typing: they move on and abandon an edit as the grid does.
bool LeftToGrid(QChar key);

} // namespace partitions
