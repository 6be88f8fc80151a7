#include "radio/password.h"

#include "link/frame.h"

namespace radio {

namespace {

constexpr quint32 XteaDelta = 0x9E3779B9u;
constexpr int StatusAt = 3;

quint32 BigEndian(const quint8* p)
{
    return (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | quint32(p[3]);
}

void PutBigEndian(quint8* p, quint32 value)
{
    p[0] = quint8(value >> 24);
    p[1] = quint8(value >> 16);
    p[2] = quint8(value >> 8);
    p[3] = quint8(value);
}

void PutLittleEndian(quint8* p, quint32 value)
{
    p[0] = quint8(value);
    p[1] = quint8(value >> 8);
    p[2] = quint8(value >> 16);
    p[3] = quint8(value >> 24);
}

quint32 Mix(quint32 v)
{
    return ((v << 4) ^ (v >> 5)) + v;
}

} // namespace

const Key PasswordKey1 { 0x3c, 0x1e, 0xa0, 0x7b, 0xd2, 0x6f, 0x90, 0x0e, 0x4b, 0xc8, 0x17, 0xf3,
    0x6a, 0x2d, 0xb9, 0xe5 };
const Key PasswordKey2 { 0x9a, 0x03, 0xe7, 0x5d, 0x16, 0xc4, 0x8b, 0x72, 0xf0, 0x29, 0x6e, 0xb1,
    0xd7, 0x48, 0x05, 0xac };

void XteaEncipher(Block& block, const Key& key, int cycles)
{
    quint32 k[4];
    for (int i = 0; i < 4; ++i)
        k[i] = quint32(key[4 * i]) | (quint32(key[4 * i + 1]) << 8)
            | (quint32(key[4 * i + 2]) << 16) | (quint32(key[4 * i + 3]) << 24);
    quint32 y = BigEndian(block.data());
    quint32 z = BigEndian(block.data() + 4);
    quint32 sum = 0;
    for (int i = 0; i < cycles; ++i) {
        y += Mix(z) ^ (sum + k[sum & 3]);
        sum += XteaDelta;
        z += Mix(y) ^ (sum + k[(sum >> 11) & 3]);
    }
    PutBigEndian(block.data(), y);
    PutBigEndian(block.data() + 4, z);
}

QString InvalidPasswordText(const QString& text)
{
    return QStringLiteral("'%1' não é uma senha válida (até %2 dígitos)")
        .arg(text)
        .arg(PasswordDigits);
}

QByteArray PasswordBody(PasswordCommand command, quint32 password, quint32 oldPassword)
{
    const bool test = command == PasswordCommand::Test;
    Block block {};
    PutLittleEndian(block.data(), password);
    PutLittleEndian(block.data() + 4, test ? password + 1 : oldPassword);
    XteaEncipher(block, PasswordKey1);
    if (test)
        XteaEncipher(block, PasswordKey2);
    QByteArray body;
    body.reserve(2 + int(block.size()));
    body.append(char(comm::code::Password));
    body.append(char(command));
    body.append(reinterpret_cast<const char*>(block.data()), qsizetype(block.size()));
    return body;
}

QString PasswordStatusText(const QByteArray& frame)
{
    if (frame.size() <= StatusAt)
        return QString();
    switch (quint8(frame[StatusAt])) {
    case 1: return QStringLiteral("SENHA GRAVADA - SEM TRAVA");
    case 2: return QStringLiteral("SENHA GRAVADA - COM TRAVA");
    case 0x55: return QStringLiteral("SENHA CONFERE - DESTRAVADA");
    case 0x56: return QStringLiteral("SENHA CONFERE - TRAVADA");
    case 0xAA: return QStringLiteral("SENHA ERRADA - SEM TRAVA");
    case 0xAB: return QStringLiteral("SENHA ERRADA - TRAVADA");
    default: return QString();
    }
}

LockButtons LockButtonsFor(LockState state)
{
    switch (state) {
    case LockState::Ready: return { true, false, false, false };
    case LockState::Armed: return { false, true, false, true };
    case LockState::Confirmed: return { false, false, true, true };
    }
    return {};
}

ModeLayout LayoutFor(PasswordMode mode)
{
    ModeLayout layout;
    switch (mode) {
    case PasswordMode::NoLock:
        layout.storeNoLock = true;
        layout.lockState = LockState::Ready;
        break;
    case PasswordMode::Lock:
        layout.oldPassword = true;
        layout.lockButtons = true;
        break;
    case PasswordMode::Test:
        layout.testButton = true;
        layout.lockState = LockState::Ready;
        break;
    }
    return layout;
}

} // namespace radio
