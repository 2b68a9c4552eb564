#include "Fonts.h"

#include <QFontInfo>
#include <cstdio>

namespace {
QFont make(const char* family, bool bold, bool condensed)
{
    QFont f(family);
    f.setPixelSize(12);
    f.setBold(bold);
    if (condensed)
        f.setStretch(QFont::Condensed);
    f.setStyleStrategy(QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoFontMerging));
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setKerning(true);
    return f;
}
} // namespace

void Fonts::check()
{
    for (const QFont& f : {sans(true), sans(true, true), serif(true), serif(true, true)}) {
        const QFontInfo info(f);
        if (info.family() != f.family())
            std::fprintf(stderr, "arcavell-datagen: warning: font '%s' not found (got '%s'); "
                                 "install fonts-dejavu-core for the intended pictures\n",
                         qPrintable(f.family()), qPrintable(info.family()));
    }
}

QFont Fonts::sans(bool bold, bool condensed) { return make("DejaVu Sans", bold, condensed); }
QFont Fonts::serif(bool bold, bool condensed) { return make("DejaVu Serif", bold, condensed); }
