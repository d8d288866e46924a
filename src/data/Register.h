#pragma once

#include <array>
#include <optional>

#include <QFlags>
#include <QString>

namespace data {

// The diary's three registers. Each is also a bit, so that a set of them (Registers) says which
// a search reads; in order of their values, as lists and clashes order them.
enum class Register { Local = 0x1, Outstation = 0x2, Tour = 0x4 };
Q_DECLARE_FLAGS(Registers, Register)
Q_DECLARE_OPERATORS_FOR_FLAGS(Registers)

// The three in their order, to go through them all.
inline constexpr std::array<Register, 3> kRegisterOrder{Register::Local, Register::Outstation,
                                                        Register::Tour};
Registers everyRegister();

// "local", "outstation", "tour": the register's table, and its name on the command line.
QString tableName(Register which);
// The register whose table is `table`; none for any other name.
std::optional<Register> registerNamed(const QString& table);
// The register as a word of the windows (Unicode Kannada).
QString registerCaption(Register which);

} // namespace data
