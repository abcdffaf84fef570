#pragma once

// The control panel's words, kept apart from the window that builds the
// panel: the tooltip and What's This text of every control, and the texts
// that show the sliders' values beside them.

class QString;
class QWidget;

// Gives each control under panel, found by its object name, a tooltip
// saying what it does and in what unit or range, and a What's This text
// where one sentence is not enough. Widgets not named here are left alone.
void describePanelControls(QWidget *panel);

// The u that a u-slider position in hundredths stands for, two decimals:
// "-1.00" to "0.99"; positions 0 and 100 read "0.01" and "0.99".
QString uText(int hundredths);
// The Bezier precision that a position in tenths stands for, in world
// units with two decimals: "0.05" (position 0) to "10.00".
QString precisionText(int tenths);
// The grid spacing in world units, or "off" for 0 and less.
QString gridText(int spacing);
