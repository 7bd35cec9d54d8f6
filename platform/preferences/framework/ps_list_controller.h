#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "platform/foundation/ns_array.h"
#include "platform/foundation/ns_bundle.h"
#include "platform/preferences/framework/ps_table_cell.h"
#include "platform/uikit/hosted_view_controller.h"
#include "platform/uikit/ui_table_view.h"

// A settings page: an ordered list of specifiers (the current list, `_specifiers`), one row
// each, shown in a table whose delegate is the page. The framework asks for the list through
// the runtime method `specifiers`, which pages override; every operation below that a page
// may override or call by selector is a runtime method of the same name, so a bundle's
// subclass takes effect. Main thread only.
class PSListController : public HostedViewController {
 public:
  // One shown row and its cell; a group row starts a section and has no cell.
  struct Row {
    Ref<PSSpecifier> specifier;
    Ref<PSTableCell> cell;
  };
  struct Section {
    Ref<PSSpecifier> group;  // nil for rows before the first group
    std::vector<Row> rows;
  };

  // `_specifiers`: the current list, or nil before it is loaded. Setting keeps a mutable copy
  // (nil clears it).
  NSMutableArray* currentSpecifiers() const { return specifiers_.get(); }
  void setCurrentSpecifiers(const NSArray* specifiers);
  // Sends `specifiers`; a page that does not store what it returns gets it stored.
  Ref<NSArray> specifiers();

  // The bundle of the page's class: where its plists, images and tables are.
  NSBundle* bundle() const;
  // The table (the page's view, loaded on first use).
  UITableView* table();
  // The link row that opened this page, or nil for a page opened otherwise.
  PSSpecifier* specifier() const { return parentSpecifier_.get(); }
  void setSpecifier(Ref<PSSpecifier> specifier) { parentSpecifier_ = std::move(specifier); }

  // The framework's operations (see the runtime methods of the same names).
  Ref<NSArray> loadSpecifiersFromPlistName(const std::string& name, NSObject* target);
  // After `after`, or at the end when `after` is not in the list.
  void insertSpecifier(Ref<PSSpecifier> specifier, const PSSpecifier* after);
  void insertSpecifierAtIndex(Ref<PSSpecifier> specifier, size_t index);
  void removeSpecifier(const PSSpecifier* specifier);
  // Discards the list and its cells, asks `specifiers` again; cells are made anew.
  void reloadSpecifiers();

  // The rows of the current list by section, with their cells: a cell is made on first
  // need and kept while its specifier stays in the list; each new cell gets
  // `tableView:willDisplayCell:forRowAtIndexPath:` from the table's delegate.
  std::vector<Section> sections();
  // The cell of a specifier in the current list (made if needed), or nil.
  PSTableCell* cellForSpecifier(PSSpecifier* specifier);
  // A tap on a row: a link row pushes a page of its "detail" class, a button row sends its
  // "action" to its target. False when the row does nothing.
  bool selectSpecifier(PSSpecifier* specifier);
  // Fills every existing cell again from its specifier.
  void refreshCells();

 private:
  Ref<PSTableCell> makeCell(PSSpecifier* specifier);

  Ref<NSMutableArray> specifiers_;
  std::unordered_map<const PSSpecifier*, Ref<PSTableCell>> cells_;
  Ref<PSSpecifier> parentSpecifier_;
};

void defineListControllerClass();
