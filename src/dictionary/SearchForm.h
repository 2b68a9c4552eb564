#pragma once
#include <QString>

class WebBrowser;

// The stored search form of the entry view and the web search window: one
// form that sends its field "q" to the web search service.
QString StoredSearchForm();

// Writes the stored form (the text of a window's hidden form box) into the
// browser's current document, fills in the search text and submits it.
void SubmitSearchForm(WebBrowser* browser, const QString& form, const QString& searchText);
