// Renders the display and option dialogs to PNG files for review: set OBRIX_SHOTS to the output folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QPixmap>
#include <cstdlib>
#include <functional>
#include <memory>

#include "dialogs/qt/audio_options_dialog.h"
#include "dialogs/qt/comment_dialog.h"
#include "dialogs/qt/coordinates_units_dialog.h"
#include "dialogs/qt/gps_mask_dialog.h"
#include "dialogs/qt/map_display_options_dialog.h"
#include "dialogs/qt/map_size_dialog.h"
#include "dialogs/qt/new_line_dialog.h"
#include "dialogs/qt/new_station_dialog.h"
#include "dialogs/qt/profile_display_options_dialog.h"
#include "dialogs/qt/readings_scale_dialog.h"
#include "dialogs/qt/speed_scale_dialog.h"
#include "map/map_view_state.h"
#include "settings/settings.h"
#include "state/session.h"
#include "test_support.h"

namespace obrix {
namespace {

TEST(OptionDialogShots, RenderEveryDialog) {
  const char* folder = std::getenv("OBRIX_SHOTS");
  if (!folder || !*folder) GTEST_SKIP() << "OBRIX_SHOTS not set";
  test::DataRootFixture root;
  ResetSession();
  Config().mapColourView = 1;
  Config().gridStyle = 1;
  QDir().mkpath(folder);
  const std::function<std::unique_ptr<SetupDialog>()> makers[] = {
      [] { return std::make_unique<MapDisplayOptionsDialog>(nullptr, false); },
      [] { return std::make_unique<MapDisplayOptionsDialog>(nullptr, true); },
      [] { return std::make_unique<ProfileDisplayOptionsDialog>(nullptr); },
      [] { return std::make_unique<AudioOptionsDialog>(nullptr); },
      [] { return std::make_unique<GpsMaskDialog>(nullptr); },
      [] { return std::make_unique<CoordinatesUnitsDialog>(nullptr); },
      [] { return std::make_unique<MapSizeDialog>(nullptr); },
      [] { return std::make_unique<ReadingsScaleDialog>(nullptr); },
      [] { return std::make_unique<SpeedScaleDialog>(nullptr); },
      [] { return std::make_unique<NewLineDialog>(nullptr); },
      [] { return std::make_unique<NewStationDialog>(nullptr); },
      [] { return std::make_unique<CommentDialog>(nullptr); },
  };
  for (const auto& make : makers) {
    std::unique_ptr<SetupDialog> d = make();
    d->show();
    const QString path = QDir(folder).filePath("dialog-" + d->objectName() + ".png");
    EXPECT_TRUE(d->grab().save(path)) << path.toStdString();
    d->reject();
  }
  ResetSession();
  ResetMapViewState();
}

}  // namespace
}  // namespace obrix
