#pragma once

#include <QPixmap>
#include <QSize>

// Pictures of the window, drawn at run time so the tool ships no image files.

// The radio's input connector: pin 1 green, pin 2 yellow, ground, and the 5 V limit.
inline constexpr QSize RadioInputsSize(257, 81);
QPixmap RadioInputsPicture();

// A tall transceiver with its antenna, on a transparent background.
inline constexpr QSize TransceiverSize(113, 457);
QPixmap TransceiverPicture();
