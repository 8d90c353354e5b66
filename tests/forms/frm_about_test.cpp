#include "forms/frm_about.h"

#include "forms/frm_about_table.h"

#include "fakes/fake_file_probe.h"
#include "fakes/fake_form_view.h"
#include "fakes/fake_message_box.h"
#include "fakes/fake_process_launcher.h"
#include "fakes/fake_registry.h"

#include <gtest/gtest.h>

namespace {

using namespace frmabout;

struct AboutFixture
{
    explicit AboutFixture(AppInfo info = {u"Sumwright", 1, 0, 6}) : form(view, info, sysInfo)
    {
        view.events = &form;
    }

    FakeRegistry registry;
    FakeFileProbe files;
    FakeProcessLauncher launcher;
    FakeMessageBox messageBox;
    SysInfoPlatform sysInfo{registry, files, launcher, messageBox};
    FakeFormView view{Table};
    frmAbout form;
};

}  // namespace

TEST(frmAbout, LoadWritesCaptionTitleAndVersion)
{
    struct Row { AppInfo info; std::u16string caption, title, version; };
    const Row rows[] = {
        {{u"Sumwright", 1, 0, 6}, u"About Sumwright", u"Sumwright", u"Version 1.0.6"},
        {{u"Sumwright", 1, 10, 6}, u"About Sumwright", u"Sumwright", u"Version 1.10.6"},
        {{u"Sumwright", 1, 0, 0}, u"About Sumwright", u"Sumwright", u"Version 1.0.0"},
        {{u"", 2, 3, 4}, u"About ", u"", u"Version 2.3.4"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.version));
        AboutFixture f(row.info);
        EXPECT_EQ(f.view.caption, u"About MyApp");  // the layout's, until it is loaded
        f.form.Form_Load();
        EXPECT_EQ(f.view.caption, row.caption);
        EXPECT_EQ(f.view.text(lblTitle), row.title);
        EXPECT_EQ(f.view.text(lblVersion), row.version);
    }
}

TEST(frmAbout, OkUnloadsAndSystemInfoRunsTheLauncherEachTime)
{
    AboutFixture f;
    f.form.Form_Load();
    f.form.click(cmdSysInfo);
    f.form.click(cmdSysInfo);
    // no registry here: the launcher says so, once a press, and the dialog stays
    EXPECT_EQ(f.messageBox.shown, (std::vector<std::u16string>(
                                      2, u"System Information Is Unavailable At This Time")));
    EXPECT_EQ(f.view.closes, 0);
    f.form.click(cmdOK);
    EXPECT_EQ(f.view.closes, 1);
}
