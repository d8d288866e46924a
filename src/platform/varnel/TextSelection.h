#pragma once

namespace varnel {

// A position clamped to a text of the given length, as the legacy text box's SelStart and
// SelLength accepted any number.
int clampedPosition(int position, int length);

} // namespace varnel
