// How the custom reading list editor and the shared memory viewer talk to
// each other without knowing each other's windows: the editor hands the
// viewer a receiver for picked readings, and asks the viewer to show the
// reading of the row the user selected.
#pragma once

#include "collector/urid.h"

// The editor's side: the viewer writes every pick into it (the empty URID
// for a sensor node).
class TQD_URIDReceiver {
 public:
  virtual ~TQD_URIDReceiver() = default;
  virtual void SelectURID(const TQD_URID& AURID) = 0;
};

// The viewer's side as the editor sees it.
class TQD_URIDSelector {
 public:
  virtual ~TQD_URIDSelector() = default;
  // Selects the reading in the tree, or clears the details when it is absent.
  virtual void SelectURID(const TQD_URID& AURID) = 0;
  // The editor picks go to; nullptr unlinks.
  virtual TQD_URIDReceiver* CustomReadingListEditor() const = 0;
  virtual void SetCustomReadingListEditor(TQD_URIDReceiver* AEditor) = 0;
};
