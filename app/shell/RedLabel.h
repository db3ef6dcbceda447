#pragma once

class QLabel;

// Draws a label's text in red (a warning) or in the normal text colour again.
void showInRed(QLabel& label, bool red);
