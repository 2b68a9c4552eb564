#pragma once
#include "platform/RichTextBox.h"

#include <QString>

// What the three reading text writers share: how they put text into the
// result box. Text goes in only by assigning SelText at the insertion point;
// bold and the rule effect are switched on just before and off just after
// the inserts they cover.
namespace ReadingText {

inline const QString CrLf = QStringLiteral("\r\n");

// A rule is this many blanks written with the rule effect.
constexpr int RuleLength = 512;
inline QString RuleBlanks() { return QString(RuleLength, QLatin1Char(' ')); }

// The rule effect is the underline of the box.
inline void SetRuleEffect(RichTextBox& box, bool on) { box.SetSelUnderline(on); }

// Inserts text at the insertion point.
inline void Insert(RichTextBox& box, const QString& text) { box.SetSelText(text); }

// Bold on, one insert, bold off.
inline void InsertBold(RichTextBox& box, const QString& text)
{
    box.SetSelBold(true);
    box.SetSelText(text);
    box.SetSelBold(false);
}

// Rule on, one insert (the blanks with their line breaks), rule off.
inline void InsertRule(RichTextBox& box, const QString& text)
{
    SetRuleEffect(box, true);
    box.SetSelText(text);
    SetRuleEffect(box, false);
}

} // namespace ReadingText
