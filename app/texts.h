#pragma once

#include <QString>

// Status-bar text while a reply is awaited.
inline const QString AwaitingReplyText = QStringLiteral("Aguardando Resposta");
