#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <array>
#include <optional>

namespace radio {

using Block = std::array<quint8, 8>;
using Key = std::array<quint8, 16>;

// The radio runs XTEA with twice the usual cycle count.
constexpr int PasswordCycles = 64;

// The two fixed password keys (bytes; the cipher reads them as little-endian words).
extern const Key PasswordKey1;
extern const Key PasswordKey2;

// XTEA in place: halves read and written big-endian, key words k[0..3] read little-endian
// from key bytes 0-3, 4-7, 8-11, 12-15.
void XteaEncipher(Block& block, const Key& key, int cycles = PasswordCycles);

// Sub-codes of the password command (205).
enum class PasswordCommand : quint8 { Store = 1, StoreLocked = 2, Test = 3 };

// Passwords are whole numbers of at most 9 digits, so a test's P + 1 always fits 32 bits.
constexpr int PasswordDigits = 9;
constexpr quint32 MaxPassword = 999999999u;
constexpr bool IsPassword(int value)
{
    return value >= 0 && quint32(value) <= MaxPassword;
}
// Error text for a number that is no password.
QString InvalidPasswordText(const QString& text);

// Body of the password command: 205, sub-code, the enciphered block. The block holds P and
// the old password (store) or P + 1 (test), little-endian; key 1, then key 2 for a test.
QByteArray PasswordBody(PasswordCommand command, quint32 password, quint32 oldPassword);

// Caption of UserText for the status byte of a password reply (byte 3); "" when the reply
// has no status byte or the status is unknown.
QString PasswordStatusText(const QByteArray& frame);

// The buttons of the lock mode, ready -> armed (GRAVA C/TRAVA) -> confirmed (CONFIRMA).
enum class LockState { Ready, Armed, Confirmed };
struct LockButtons {
    bool store = false; // senha1, GRAVA C/TRAVA
    bool confirm = false; // senha2, CONFIRMA
    bool send = false; // senha3, ENVIA
    bool cancel = false; // senha4, CANCELA
};
LockButtons LockButtonsFor(LockState state);

// The three password modes and what their radio buttons show.
enum class PasswordMode { NoLock, Lock, Test };
struct ModeLayout {
    bool oldPassword = false; // Label1 and ASenha
    bool storeNoLock = false; // BGravaSenhaD
    bool lockButtons = false; // senha1..senha4
    bool testButton = false; // BTesteSenha
    std::optional<LockState> lockState; // set when the mode resets the lock sequence
};
ModeLayout LayoutFor(PasswordMode mode);

} // namespace radio
