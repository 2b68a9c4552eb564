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

// The web search service that the dictionary hands a search to, and the
// site's account with it (written into the stored search form). Variables, so
// that a test can point them at a server of its own.
namespace WebSearch {
inline QString Action = QStringLiteral("https://www.google.com/search");
inline QString Home = QStringLiteral("https://www.google.com/");
inline QString Logo = QStringLiteral("https://www.google.com/favicon.ico");
inline QString Account = QStringLiteral("pub-0000000000000000");
} // namespace WebSearch

// Each opens its page in the default browser; a page that cannot be opened
// passes silently.
void OpenDonatePage();
void OpenHelpPage();
void OpenFullBrandPage();
void OpenCoBrandPage();
void OpenHomePage();
void OpenDownloadPage();
