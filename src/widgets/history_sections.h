#pragma once

// The settings sections of the dialogs' input histories and remembered
// settings, one per dialog (some shared by two dialogs). A history list
// occupies the values History00 .. History09 of its section; remembered
// settings are further values declared as IntSetting / StringSetting next to
// the dialog that owns them, e.g.
//     constexpr StringSetting kMethod{HistorySection::Form, "Method", "POST"};
namespace HistorySection {
inline constexpr char Body[] = "History\\Body";
inline constexpr char URL[] = "History\\URL";
inline constexpr char Target[] = "History\\Target";
inline constexpr char Bookmark[] = "History\\Bookmark"; // bookmark and in-document link dialogs
inline constexpr char Mail[] = "History\\Mail";
inline constexpr char Header[] = "History\\Header";
inline constexpr char HorizonBar[] = "History\\HorizonBar";
inline constexpr char Image[] = "History\\Image";
inline constexpr char List[] = "History\\List";
inline constexpr char Form[] = "History\\Form";
inline constexpr char FormSelect[] = "History\\FormSelect"; // check box and radio button dialogs
inline constexpr char ListBox[] = "History\\ListBox";
inline constexpr char LineInput[] = "History\\LineInput";
inline constexpr char MultiLineInput[] = "History\\MultiLineInput";
inline constexpr char Find[] = "History\\Find";
inline constexpr char Replace1[] = "History\\Replace1";
inline constexpr char Replace2[] = "History\\Replace2";
inline constexpr char FindInFiles[] = "History\\FindInFiles";
inline constexpr char FileTypes[] = "History\\FileTypes";
} // namespace HistorySection
