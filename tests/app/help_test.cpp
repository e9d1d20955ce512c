// The manual as the editor reaches it: the four help commands, the dialogs' "&Help" buttons and
// F1 pop-ups, and the built manual itself, which must hold every page and topic they ask for.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileInfo>
#include <QCheckBox>
#include <QComboBox>
#include <QHelpEngine>
#include <QHelpLink>
#include <QHelpSearchResult>
#include <QHelpSearchEngine>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QWhatsThis>

#include "app/command_ids.h"
#include "app/context_help.h"
#include "app/effect_dialog.h"
#include "app/help_topics.h"
#include "app/help_viewer.h"
#include "app/help_window.h"
#include "app/options_dialog.h"
#include "app/qt_help_viewer.h"
#include "app_fixtures.h"
#include "panel_fixtures.h"
#include "support/temp_file.h"

namespace anitrope::test {
namespace {

class HelpCommands : public EditorFixture {};

TEST_F(HelpCommands, OpenTheirPageOrSayWhyNot) {
    const struct {
        int command;
        const char* page;
        const char* failure;
    } cases[] = {
        {CmdHelpContents, "contents", "Can't activate Help Contents"},
        {CmdHelpSearch, "search", "Can't activate Help Search"},
        {CmdHelpOnHelp, "How To Use Help", "Can't activate Help On Help"},
        {CmdKeyBindings, "Key Bindings", "Can't activate Help on KeyBindings"},
    };
    ScriptedHelp help;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failure);
        EXPECT_TRUE(editor.MenuEnabled(c.command)) << "help is never greyed";
        editor.SetHelp(&help);
        help.present = true;
        editor.Dispatch(c.command);
        EXPECT_EQ(help.asked.back(), c.page);
        EXPECT_TRUE(boxes.shown.empty());

        help.present = false;
        editor.Dispatch(c.command);
        editor.SetHelp(nullptr);
        editor.Dispatch(c.command);
        ASSERT_EQ(boxes.shown.size(), 2u) << "a missing manual and one that fails both say so";
        for (const MessageRequest& shown : boxes.shown) {
            EXPECT_EQ(shown.text, c.failure);
            EXPECT_EQ(shown.title, "Error");
        }
        boxes.shown.clear();
    }
}

class DialogHelp : public ::testing::Test {
  protected:
    DialogHelp() {
        Animation& doc = test::Setup(document);
        AppendFrame(doc, 8, 8);
    }
    Document document;
    Settings settings;
    ScriptedMessageBoxes boxes;
    ScriptedConfirmations confirmations;
    ScriptedHelp help;
};

TEST_F(DialogHelp, EffectDialogOpensItsKeywordAndF1ShowsTheFocusedFieldsTopic) {
    EffectParams params;
    params.noTransition = 1;
    int32_t color = 0;
    EffectDialog dialog({document, *document.Data().head, settings, boxes, confirmations,
                         nullptr, nullptr, &help},
                        params, color);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));

    dialog.HelpButton()->click();
    EXPECT_EQ(help.asked, std::vector<std::string>{"Select Effect/Transition Dialog"});

    const struct {
        QWidget* control;
        int topic;
    } cases[] = {{dialog.FrameCountEdit(), 43}, {dialog.EffectList(), 35}, {dialog.PingPongBox(), 38}};
    for (const auto& c : cases) {
        c.control->setFocus();
        help.popups.clear();
        QTest::keyClick(c.control, Qt::Key_F1);
        QWhatsThis::hideText();
        EXPECT_EQ(help.popups, std::vector<int>{c.topic});
    }
    help.popups.clear();
    dialog.OkButton()->setFocus();
    QTest::keyClick(dialog.OkButton(), Qt::Key_F1);
    EXPECT_TRUE(help.popups.empty()) << "buttons have no pop-up";
    EXPECT_TRUE(boxes.shown.empty());
    dialog.reject();
}

TEST_F(DialogHelp, OptionsHelpButtonOpensItsPage) {
    OptionsDialog dialog(settings, boxes, nullptr, &help);
    dialog.HelpButton()->click();
    EXPECT_EQ(help.asked, std::vector<std::string>{"Options Dialog"});
    help.present = false;
    dialog.HelpButton()->click();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Can't activate Help on OptionsDialog");
}

// The manual as built beside the editor.
class Manual : public ::testing::Test {
  protected:
    TempDir dir;
    QtHelpViewer viewer{ANITROPE_TEST_MANUAL, dir / "collection.qhc"};
};

TEST_F(Manual, HoldsEveryTopicAndKeywordTheEditorAsksFor) {
    for (int topic : HelpTopicsInUse()) {
        const std::string text = viewer.PopupText(topic);
        EXPECT_GE(text.size(), 20u) << "topic " << topic;
        EXPECT_EQ(text.find("<div"), std::string::npos) << "topic " << topic;
    }
    for (std::string_view keyword : HelpKeywordsInUse())
        EXPECT_FALSE(viewer.Engine()->documentsForKeyword(QString::fromUtf8(keyword)).isEmpty())
            << keyword;
    EXPECT_EQ(viewer.Window(), nullptr) << "pop-ups never open the window";

    TempDir other;
    QtHelpViewer missing{other / "none.qch", other / "collection.qhc"};
    EXPECT_FALSE(missing.ShowContents());
    EXPECT_FALSE(missing.ShowKeyword("Options Dialog"));
    EXPECT_EQ(missing.PopupText(43), "");
}

TEST_F(Manual, WindowOpensKeywordsAndFindsSearchWords) {
    // Opening the window starts the search index; listen before it can finish.
    ASSERT_TRUE(viewer.PopupText(43).size() > 0);
    QSignalSpy indexed(viewer.Engine()->searchEngine(), &QHelpSearchEngine::indexingFinished);
    ASSERT_TRUE(viewer.ShowContents());
    HelpWindow* window = viewer.Window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->Browser()->source().toString().endsWith("/index.html"));
    EXPECT_FALSE(window->Browser()->toPlainText().isEmpty());

    ASSERT_TRUE(viewer.ShowKeyword("Options Dialog"));
    EXPECT_TRUE(window->Browser()->source().toString().endsWith("/options.html"));
    EXPECT_FALSE(viewer.ShowKeyword("No Such Keyword"));

    QHelpSearchEngine* search = viewer.Engine()->searchEngine();
    ASSERT_TRUE(indexed.count() > 0 || indexed.wait(60000));
    // A search made while the index is being rebuilt finds nothing: ask again until it is.
    QSignalSpy searched(search, &QHelpSearchEngine::searchingFinished);
    for (int tries = 0; tries < 60 && search->searchResultCount() == 0; ++tries) {
        window->Search("disposal");
        ASSERT_TRUE(searched.wait(60000));
        if (search->searchResultCount() == 0) QTest::qWait(500);
    }
    ASSERT_GT(search->searchResultCount(), 0);
    const QUrl hit = search->searchResults(0, 1).front().url();
    window->ShowPage(hit);
    EXPECT_TRUE(window->Browser()->toPlainText().contains("disposal", Qt::CaseInsensitive));
}

}  // namespace
}  // namespace anitrope::test
