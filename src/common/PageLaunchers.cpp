#include "PageLaunchers.h"

#include "platform/Desktop.h"

void OpenDonatePage() { desktop().OpenDocument(PageAddress::Donate); }
void OpenHelpPage() { desktop().OpenDocument(PageAddress::Help); }
void OpenFullBrandPage() { desktop().OpenDocument(PageAddress::FullBrand); }
void OpenCoBrandPage() { desktop().OpenDocument(PageAddress::CoBrand); }
void OpenHomePage() { desktop().OpenDocument(PageAddress::Home); }
void OpenDownloadPage() { desktop().OpenDocument(PageAddress::Download); }
