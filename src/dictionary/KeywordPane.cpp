// The frame window's dictionary side: the keyword pane's searches, the
// display of an entry, and the browser toolbar.
#include "app/frmMDI.h"
#include "common/modDB.h"
#include "dictionary/frmBrowser.h"
#include "dictionary/frmMainDictionary.h"
#include "dictionary/modDict.h"
#include "platform/Forms.h"
#include "platform/MsgBox.h"
#include "platform/VbError.h"


namespace {
const QString EnterSearchTerm = QStringLiteral("Please Enter Search Term");
const QString KeywordNotFound = QStringLiteral("Keyword not found - Please search in google\r"
                                               "Or write to us so that we can add the term in our dictionary");

// The dictionary's rows, or none after telling the user that it cannot be read.
std::optional<QList<DictionaryRow>> readDictionaryOrSay(QLineEdit* txtKey)
{
    try {
        return ReadDictionary();
    } catch (const VbError& e) {
        MsgBox("The dictionary cannot be read:\r" + e.Description() + "\r" +
                   DatabaseErrorAdvice(e, "Please Reinstall Software."),
               vbCritical);
        txtKey->setFocus();
        return std::nullopt;
    }
}

// Every opening of the web search window is a fresh start.
void reopenWebSearch()
{
    if (Forms::IsLoaded("frmBrowser"))
        Unload(frmBrowser());
    frmBrowser().Show();
}
} // namespace

void frmMDI::connectDictionaryPane()
{
    connect(cmdSearch, &QPushButton::clicked, this, [this] { cmdSearch_Click(); });
    connect(cmdDisplay, &QPushButton::clicked, this, [this] { cmdDisplay_Click(); });
    connect(txtKey, &QLineEdit::returnPressed, this, [this] { txtKey_KeyPress(13); });
    connect(txtKey, &QLineEdit::textChanged, this, [this] { txtKey_Change(); });
    connect(lstKeys, &ListView::ItemClick, this, [this] { lstKeys_Click(); });
    connect(lstKeys, &ListView::ItemDblClick, this, [this] { lstKeys_DblClick(); });
    connect(TB, &QToolBar::actionTriggered, this, [this](QAction* button) { TB_ButtonClick(button->objectName()); });
    connect(mnuUpdateKey, &QAction::triggered, this, [this] { mnuUpdateKey_Click(); });
}

void frmMDI::say(const QString& message)
{
    MsgBox(message, vbInformation);
    txtKey->setFocus();
}

void frmMDI::listSearchMatches(const QList<DictionaryRow>& rows, bool clearWhenEmpty)
{
    if (optExact->isChecked()) {
        if (clearWhenEmpty || !rows.isEmpty())
            lstKeys->SetItems(MatchingKeys(rows, PrefixMatch, txtKey->text().trimmed().toLower()));
    } else if (optWildCard->isChecked()) {
        DictionaryLink = StripWildcards(txtKey->text().toLower());
        lstKeys->SetItems(MatchingKeys(rows, SubstringMatch, DictionaryLink));
    }
}

void frmMDI::cmdSearch_Click()
{
    if (txtKey->text().trimmed().isEmpty()) {
        say(EnterSearchTerm);
        return;
    }
    if (optGoogle->isChecked()) {
        reopenWebSearch();
        return;
    }
    const auto rows = readDictionaryOrSay(txtKey);
    if (!rows)
        return;
    listSearchMatches(*rows, false);
    if (lstKeys->Count() > 0)
        frmMainDictionary().WB->Navigate2(txtKey->text().trimmed());
    else
        say(KeywordNotFound);
}

std::optional<QList<DictionaryRow>> frmMDI::rowsForTypedText()
{
    // With the web search option the web search window takes the text as
    // it is; an empty text lists every key again and asks for one.
    if (optGoogle->isChecked()) {
        reopenWebSearch();
        return std::nullopt;
    }
    auto rows = readDictionaryOrSay(txtKey);
    if (rows && txtKey->text().isEmpty()) {
        lstKeys->SetItems(AllKeys(*rows));
        say(EnterSearchTerm);
        return std::nullopt;
    }
    return rows;
}

void frmMDI::txtKey_KeyPress(int keyAscii)
{
    if (keyAscii != 13)
        return;
    const auto rows = rowsForTypedText();
    if (!rows)
        return;
    listSearchMatches(*rows, true);
    if (lstKeys->Count() > 0) {
        frmMainDictionary().Show();
        frmBrowser().Hide();
    } else {
        say(KeywordNotFound);
    }
}

void frmMDI::txtKey_Change()
{
    if (!txtKey->text().trimmed().isEmpty())
        return;
    lstKeys->Clear();
    if (const auto rows = readDictionaryOrSay(txtKey))
        lstKeys->SetItems(AllKeys(*rows));
}

void frmMDI::lstKeys_Click()
{
    // With no item selected the text stays as it is.
    if (const int selected = lstKeys->SelectedIndex(); selected >= 0)
        txtKey->setText(lstKeys->ItemText(selected));
}

void frmMDI::cmdDisplay_Click()
{
    const auto rows = rowsForTypedText();
    if (!rows)
        return;
    lstKeys_Click();
    displayEntry(*rows, txtKey->text().trimmed().toLower());
}

void frmMDI::lstKeys_DblClick()
{
    const auto rows = readDictionaryOrSay(txtKey);
    if (!rows)
        return;
    lstKeys_Click();
    displayEntry(*rows, txtKey->text().trimmed());
}

void frmMDI::displayEntry(const QList<DictionaryRow>& rows, const QString& key)
{
    // The first row whose key equals the text, letter case aside, gives the
    // page; with none the text itself is handed on.
    DictionaryLink = key;
    const QString wanted = key.toLower();
    for (const DictionaryRow& row : rows) {
        if (row.key.toLower() == wanted) {
            DictionaryLink = row.link;
            break;
        }
    }
    if (lstKeys->Count() == 0) {
        say(KeywordNotFound);
        return;
    }
    // Loading the entry view here opens the page itself and empties
    // DictionaryLink, so the navigation that follows receives nothing.
    frmMainDictionary().WB->Navigate2(DictionaryLink);
    frmMainDictionary().Show();
    frmBrowser().Hide();
}

void frmMDI::TB_ButtonClick(const QString& key)
{
    WebBrowser* view = frmMainDictionary().WB;
    if (key == "Back")
        view->GoBack();
    else if (key == "Forward")
        view->GoForward();
    else if (key == "Refresh")
        view->Refresh();
    else if (key == "Home")
        view->GoHome();
    else if (key == "Search")
        view->GoSearch();
    else if (key == "Stop")
        view->Stop();
}
