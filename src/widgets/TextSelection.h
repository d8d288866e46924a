#pragma once

namespace varnel {

// A position clamped to a text of the given length: SelStart and SelLength take any number.
int clampedPosition(int position, int length);

} // namespace varnel
