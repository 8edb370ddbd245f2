// How much of a mapped block a recording keeps. The view is page-rounded, so
// the header tells where the block really ends; but the header is untrusted
// and never makes the copy read outside the view.
#pragma once

#include <cstddef>
#include <cstdint>

// The block's own length when its header is readable and its sections end
// inside the view; otherwise the whole view.
size_t RecordLength(const uint8_t* AView, size_t AViewLength);
