#pragma once

struct RawConnection;

// Fills the local register of a new diary with `records` programmes over about two years, in
// one transaction on sqlite3, so the benchmarks that read a full register share one register.
void fillLocalRegister(RawConnection& raw, int records);
