// The terminal log Tx: AppendLog, LogTail, AddLogLine.
#include "TDual.h"

#include <QScrollBar>
#include <QTextBlock>

namespace {

QTextCursor EndOf(QPlainTextEdit* log)
{
    QTextCursor cursor(log->document());
    cursor.movePosition(QTextCursor::End);
    return cursor;
}

} // namespace

// Text goes in at the end of the log, even when the user has clicked into it or selected
// something: replies must never overwrite or split what the log already shows.
void TDual::AppendLog(const QString& text)
{
    EndOf(Tx).insertText(text);
}

void TDual::LogTail()
{
    // The window's style sheet sets every font, so the log's own one goes through a style
    // sheet too. Once in force it is not set again: a font change lays out the whole log.
    const QFont font = Tx->font();
    if (font.family() != QLatin1String("Terminal") || font.pointSize() != 8)
        Tx->setStyleSheet(QStringLiteral("font-family: \"Terminal\"; font-size: 8pt;"));
    Tx->setTextCursor(EndOf(Tx));
    Tx->ensureCursorVisible();
}

// The text becomes the log's new last line. After a finished line it is written with its
// line end; after an unfinished one it starts a new line and stays open, so that later
// AppendLog text continues it.
void TDual::AddLogLine(const QString& text)
{
    QTextCursor cursor = EndOf(Tx);
    const bool lastLineEmpty = Tx->document()->lastBlock().length() <= 1;
    cursor.insertText(lastLineEmpty ? text + QLatin1Char('\n') : QLatin1Char('\n') + text);
    Tx->setTextCursor(cursor);
    Tx->ensureCursorVisible();
}
