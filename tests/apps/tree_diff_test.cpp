#include "apps/vitrel/tree_diff.h"

#include <gtest/gtest.h>

namespace {

Json colour(const char* hex, double r, double g, double b, double a = 1) {
  return {{"hex", hex}, {"r", r}, {"g", g}, {"b", b}, {"a", a}};
}

Json rect(double x, double y, double width, double height) {
  return {{"x", x}, {"y", y}, {"width", width}, {"height", height}};
}

// A view as the dump writes it, with the few properties these cases need.
Json view(const std::string& name, Json subviews = Json::array()) {
  static int address = 0x1000;
  return {{"class", name},
          {"description", "<" + name + ": 0x" + std::to_string(address++) + ">"},
          {"frame", rect(0, 0, 100, 50)},
          {"alpha", 1.0},
          {"backgroundColor", nullptr},
          {"layer",
           {{"cornerRadius", 0.0},
            {"borderWidth", 0.0},
            {"borderColor", nullptr},
            {"sublayers", Json::array()}}},
          {"subviews", std::move(subviews)}};
}

// The menu's list with a backdrop and two cells, under a window.
Json menu() {
  return view("UIView", {view("UIImageView"),
                         view("_UIContextMenuListView",
                              {view("_UIVisualEffectBackdropView"), view("_UIContextMenuCell"),
                               view("_UIContextMenuCell")})});
}

const std::string kList = "UIView[0]/_UIContextMenuListView[0]";

TEST(TreeDiffTest, SameTreesBuiltAtOtherAddressesDifferNowhere) {
  EXPECT_TRUE(diffViewTrees(menu(), menu()).empty());
}

TEST(TreeDiffTest, ReportsEachChangedPropertyWithBothValues) {
  Json host = menu(), library = menu();
  Json& list = library["subviews"][1];
  list["layer"]["borderWidth"] = 1.5;
  list["layer"]["borderColor"] = colour("#FF0000", 1, 0, 0, 0.5);
  list["subviews"][1]["frame"] = rect(0, 44, 100, 50);
  list["subviews"][0]["renderMode"] = 1;
  host["subviews"][1]["subviews"][0]["renderMode"] = 2;

  const std::vector<TreeChange> changes = diffViewTrees(host, library);
  ASSERT_EQ(changes.size(), 4u);
  EXPECT_EQ(changes[0].path, kList);
  EXPECT_EQ(changes[0].viewClass, "_UIContextMenuListView");
  EXPECT_EQ(changes[0].property, "layer.borderWidth");
  EXPECT_EQ(changes[0].host, 0.0);
  EXPECT_EQ(changes[0].library, 1.5);
  EXPECT_EQ(changes[1].property, "layer.borderColor");
  EXPECT_TRUE(changes[1].host.is_null());
  EXPECT_EQ(changes[1].library["hex"], "#FF0000");
  EXPECT_EQ(changes[2].path, kList + "/_UIVisualEffectBackdropView[0]");
  EXPECT_EQ(changes[2].property, "renderMode");
  EXPECT_EQ(changes[3].path, kList + "/_UIContextMenuCell[0]");
  EXPECT_EQ(changes[3].property, "frame");
  EXPECT_EQ(changes[3].library["y"], 44);
}

TEST(TreeDiffTest, FloatNoiseIsNoChangeButAnAlphaBeneathTheSameHexIs) {
  Json host = menu(), library = menu();
  host["alpha"] = 0.1;
  library["alpha"] = static_cast<double>(0.1f);
  host["backgroundColor"] = colour("#336699", 0.2, 0.4, 0.6);
  library["backgroundColor"] = colour("#336699", static_cast<double>(0.2f), 0.4, 0.6);
  EXPECT_TRUE(diffViewTrees(host, library).empty());

  // A hex rounded differently from components that are the same is no change either.
  library["backgroundColor"]["hex"] = "#336698";
  EXPECT_TRUE(diffViewTrees(host, library).empty());

  library["backgroundColor"]["a"] = 0.9;
  const std::vector<TreeChange> changes = diffViewTrees(host, library);
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].property, "backgroundColor");
}

TEST(TreeDiffTest, MatchesViewsByClassSoAnAddedViewShiftsNoOther) {
  Json host = menu(), library = menu();
  Json& cells = library["subviews"][1]["subviews"];
  cells.insert(cells.begin(), view("UIView"));
  // A cell removed takes its subviews with it, reported once.
  Json& hostCells = host["subviews"][1]["subviews"];
  hostCells.push_back(view("_UIContextMenuCell", {view("UILabel")}));

  const std::vector<TreeChange> changes = diffViewTrees(host, library);
  ASSERT_EQ(changes.size(), 2u);
  EXPECT_EQ(changes[0].path, kList + "/_UIContextMenuCell[2]");
  EXPECT_EQ(changes[0].property, "present");
  EXPECT_EQ(changes[0].host, true);
  EXPECT_EQ(changes[0].library, false);
  EXPECT_EQ(changes[1].path, kList + "/UIView[0]");
  EXPECT_EQ(changes[1].host, false);
  EXPECT_EQ(changes[1].library, true);
}

TEST(TreeDiffTest, ComparesLayersAddedBesideTheViewsOnesByPlace) {
  Json host = menu(), library = menu();
  Json sublayer = {{"frame", rect(0, 0, 10, 10)}, {"cornerRadius", 4.0}};
  host["layer"]["sublayers"].push_back(sublayer);
  sublayer["cornerRadius"] = 13.0;
  library["layer"]["sublayers"].push_back(sublayer);
  library["layer"]["sublayers"].push_back(sublayer);
  library["layer"]["shadow"] = {{"opacity", 0.5}};

  const std::vector<TreeChange> changes = diffViewTrees(host, library);
  ASSERT_EQ(changes.size(), 3u);
  EXPECT_EQ(changes[0].property, "layer.sublayers[0].cornerRadius");
  EXPECT_EQ(changes[1].property, "layer.sublayers[1]");
  EXPECT_TRUE(changes[1].host.is_null());
  EXPECT_EQ(changes[2].property, "layer.shadow");
  EXPECT_EQ(changes[2].library["opacity"], 0.5);
}

TEST(TreeDiffTest, WritesJsonAndTextGroupedByView) {
  Json host = menu(), library = menu();
  Json& list = library["subviews"][1];
  list["layer"]["borderWidth"] = 1.0;
  list["layer"]["borderColor"] = colour("#FF0000", 1, 0, 0, 0.5);
  list["frame"] = rect(0, 0, 100, 44.5);
  library["subviews"][0]["backgroundColor"] = colour("#000000", 0, 0, 0);
  const std::vector<TreeChange> changes = diffViewTrees(host, library);

  const Json json = changesJson(changes);
  ASSERT_EQ(json["changes"].size(), 4u);
  EXPECT_EQ(json["changes"][0]["path"], "UIView[0]/UIImageView[0]");
  EXPECT_EQ(json["changes"][0]["class"], "UIImageView");
  EXPECT_EQ(json["changes"][0]["host"], nullptr);

  EXPECT_EQ(changesText(changes),
            "4 changes on 2 views, host → library:\n"
            "\nUIView[0]/UIImageView[0]\n"
            "  backgroundColor: none → #000000\n"
            "\n" +
                kList +
                "\n"
                "  frame: (0 0; 100 50) → (0 0; 100 44.5)\n"
                "  layer.borderWidth: 0 → 1\n"
                "  layer.borderColor: none → #FF0000 alpha 0.5\n");
  EXPECT_EQ(changesText({}), "The library changed nothing in the scene.\n");
}

}  // namespace
