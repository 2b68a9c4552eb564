#pragma once
#include <QString>

// The maker's web pages. The addresses are configuration: they are kept here
// and nowhere else.
namespace PageAddress {
inline const QString Home = QStringLiteral("https://www.arcavell.example/");
inline const QString Help = QStringLiteral("https://www.arcavell.example/help/tarot-software.html");
inline const QString Download = QStringLiteral("https://www.arcavell.example/download/");
inline const QString Donate = QStringLiteral("https://www.arcavell.example/donate/");
inline const QString FullBrand = QStringLiteral("https://www.arcavell.example/resellers/full-brand.html");
inline const QString CoBrand = QStringLiteral("https://www.arcavell.example/resellers/co-brand.html");
} // namespace PageAddress

// Each opens its page in the default browser; a page that cannot be opened
// passes silently.
void OpenDonatePage();
void OpenHelpPage();
void OpenFullBrandPage();
void OpenCoBrandPage();
void OpenHomePage();
void OpenDownloadPage();
