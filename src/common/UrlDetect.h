#pragma once

class RichTextBox;
class QWidget;

// Makes web addresses in one rich-text box clickable: they show as links,
// and a press of the left mouse button on one opens it in the default
// browser, once per press. One box at a time: while it is on, another call
// changes nothing.
void EnableUrlDetect(RichTextBox* box, QWidget* owner);
void DisableUrlDetect();
bool UrlDetectActive();

// The web address at a text position of the box's plain document text, or
// an empty string. At most 1023 characters of an address are taken.
class QString;
QString UrlAt(const RichTextBox* box, int documentPosition);
