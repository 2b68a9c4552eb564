#include "SearchForm.h"

#include "common/PageLaunchers.h"
#include "platform/WebBrowser.h"

QString StoredSearchForm()
{
    const auto attr = [](const QString& value) { return value.toHtmlEscaped(); };
    return QString("<html>\n<body>\n<center>\n<!-- Search Google -->\n"
                   "<form method=\"get\" action=\"%1\" target=\"_top\">\n"
                   "<table bgcolor=\"#ffffff\"><tr><td nowrap=\"nowrap\" valign=\"top\" align=\"left\" height=\"32\">\n"
                   "<a href=\"%2\"><img src=\"%3\" border=\"0\" alt=\"Google\" align=\"middle\"></a>\n"
                   "<input type=\"text\" name=\"q\" size=\"31\" maxlength=\"255\" value=\"\">\n"
                   "<input type=\"submit\" name=\"sa\" value=\"Search\">\n"
                   "<input type=\"hidden\" name=\"client\" value=\"%4\">\n"
                   "<input type=\"hidden\" name=\"forid\" value=\"1\">\n"
                   "<input type=\"hidden\" name=\"ie\" value=\"ISO-8859-1\">\n"
                   "<input type=\"hidden\" name=\"oe\" value=\"ISO-8859-1\">\n"
                   "<input type=\"hidden\" name=\"cof\" value=\"GALT:#008000;GL:1;DIV:#336699;VLC:663399;"
                   "AH:center;BGC:FFFFFF;LBGC:336699;ALC:0000FF;LC:0000FF;T:000000;GFNT:0000FF;GIMP:0000FF;"
                   "FORID:1;\">\n"
                   "<input type=\"hidden\" name=\"hl\" value=\"en\">\n"
                   "</td></tr></table>\n</form>\n<!-- Search Google -->\n</center>\n</body>\n</html>\n")
        .arg(attr(WebSearch::Action), attr(WebSearch::Home), attr(WebSearch::Logo), attr(WebSearch::Account));
}

void SubmitSearchForm(WebBrowser* browser, const QString& form, const QString& searchText)
{
    // The field is "Q" in the program's words; names in the form are "q".
    browser->FillAndClick(form, "q", searchText, "sa");
}
