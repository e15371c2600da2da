#pragma once
// Every command of the main window as data: its Tag, menu item, caption, hint, key, the menu it
// sits in, and its tool button with the picture number. The form builds its menus and tool bars
// from these tables; MenuClick (shell/commands.h) runs a command by its Tag.

#include <cstddef>

namespace drex {

/// The menus and submenus of the main window, in the order they are built.
enum class MenuId { File, Object, FromScreen, ByParams, Transform, View, Size, Calc, DynCalc, Macro, Service, Help };

/// One menu: its name, its caption and the menu it hangs in (itself for a top-level menu).
struct MenuInfo {
  MenuId Id;
  MenuId Parent;
  const char* Name;
  const char* Caption;
};

/// The tool bars: five in the tool bar host above the drawing, one above the expression grid.
enum class ToolBarId { None, File, Make, Zoom, Select, Macro, DynCalc };

struct ToolBarInfo {
  ToolBarId Id;
  const char* Name;
  const char* Caption;
};

/// One command.
struct CommandInfo {
  int Tag;
  const char* MenuItem;        ///< name of the menu item ("m_ZoomIn")
  const char* Caption;         ///< "&" marks the access key
  const char* Hint;            ///< shown in the status line and used in the prompts of operations
  const char* Shortcut;        ///< "F3", "Alt+X", "Num++" (numeric-pad plus), several parted by "; "; empty for none
  MenuId Menu;                 ///< the menu the item is in, items in table order
  const char* SeparatorBefore; ///< name of a separator above the item ("" unnamed), nullptr for none
  const char* ToolButton;      ///< name of the tool button ("k_ZoomIn"), empty for none
  ToolBarId ToolBar;
  int Image;      ///< picture number of the menu item and its button, -1 for none
  bool Checkable; ///< the item carries a check mark
};

inline constexpr MenuInfo MenuTable[] = {
    {MenuId::File, MenuId::File, "m_FileMenu", "&Файл"},
    {MenuId::Object, MenuId::Object, "m_ObjectMenu", "Об'єкт"},
    {MenuId::FromScreen, MenuId::Object, "m_FromScreen", "Створити з екрану"},
    {MenuId::ByParams, MenuId::Object, "m_ByParams", "Створити"},
    {MenuId::Transform, MenuId::Object, "m_Transform", "Перетворення"},
    {MenuId::View, MenuId::View, "m_ViewMenu", "Зображення"},
    {MenuId::Size, MenuId::View, "m_SizeMenu", "&Розмір"},
    {MenuId::Calc, MenuId::Calc, "m_CalcMenu", "О&бчислення"},
    {MenuId::DynCalc, MenuId::DynCalc, "m_DynCalcMenu", "Динамічний вираз"},
    {MenuId::Macro, MenuId::Macro, "m_MacroMenu", "Макроконструкція"},
    {MenuId::Service, MenuId::Service, "m_ServiceMenu", "&Сервіс"},
    {MenuId::Help, MenuId::Help, "m_HelpMenu", "Д&опомога"},
};

inline constexpr ToolBarInfo ToolBarTable[] = {
    {ToolBarId::File, "tb_File", "Файл"},    {ToolBarId::Make, "tb_Make", "Базові об'єкти"},
    {ToolBarId::Zoom, "tb_Zoom", "Маштаб"},  {ToolBarId::Select, "tb_Select", "Вимірювання"},
    {ToolBarId::Macro, "tb_Macro", "Макро"}, {ToolBarId::DynCalc, "tb_DynCalc", "Динамічні вирази"},
};

/// Picture numbers other code refers to.
constexpr int ImageShowGMT = 48;      ///< locus command while no locus is shown
constexpr int ImageStopGMT = 49;      ///< locus command while a locus is shown
constexpr int ImageMacroMake = 50;    ///< macro recording, idle
constexpr int ImageMacroSources = 51; ///< macro recording, picking the source objects
constexpr int ImageMacroResults = 52; ///< macro recording, picking the result objects
constexpr int ImageUndo = 54;         ///< take back the last step
constexpr int ImageRedo = 55;         ///< do the step taken back again
constexpr int ImageCalcFixSave = 56;  ///< the frozen values of the expression grid to a file
/// Pictures are numbered 0..ImageCount - 1.
constexpr int ImageCount = 57;

/// Tags of the recent-document items: item k (1..5) is FirstRecentTag - 1 + k.
constexpr int FirstRecentTag = 1001;
constexpr int RecentItemCount = 5;

namespace tag {
constexpr int Exit = 0, NewFile = 1, Load = 2, Save = 3, SaveAs = 4;
constexpr int ExportPng = 5, ExportSvg = 6, ExportPdf = 7, Print = 8;
constexpr int FirstTool = 11, LastTool = 23;
constexpr int ModeDel = 25, Change = 27, Abort = 28, Undo = 29, Redo = 30;
constexpr int Ugol = 31, Distance = 32, CalcMake = 33, CalcDel = 34, CalcFix = 35, CalcFixDel = 36, CalcEdit = 37;
constexpr int CalcFixSave = 38;
constexpr int ZoomIn = 41, ZoomOut = 42, ZoomFit = 43, ZoomEqu = 44;
constexpr int Animate = 49, ShowGMT = 491, ShowAll = 492;
constexpr int Setup = 50, Help = 51, About = 52;
constexpr int FirstByParams = 101, LastByParams = 114;
constexpr int CalcRotate = 301, ObjParam = 302, ObjMove = 303, ObjRot = 304;
constexpr int MacroMake = 401, MacroPut = 402;
constexpr int Calcul = 3001, Integral = 3002, Derivative = 3003, MeasureDel = 3005;
constexpr int Clipboard = 12000;
} // namespace tag

inline constexpr CommandInfo CommandTable[] = {
    // File
    {1, "m_NewFile", "&Новий", "Створення нового документа", "", MenuId::File, nullptr, "k_NewFile", ToolBarId::File, 0,
     false},
    {2, "m_Load", "&Завантажити", "Завантаження об'єктів з файлу", "F3", MenuId::File, nullptr, "k_Load",
     ToolBarId::File, 1, false},
    {3, "m_Save", "Зберегти", "Збереження об'єктів у файлі", "F2", MenuId::File, nullptr, "k_Save", ToolBarId::File, 2,
     false},
    {4, "m_SaveAs", "Зберегти як...", "Збереження об'єктів у файлі з іншою назвою", "Alt+F2", MenuId::File, nullptr, "",
     ToolBarId::None, 3, false},
    {12000, "m_Clipboard", "Область зображення у буфер", "Копіювання зображення у буфер обміну", "", MenuId::File, "",
     "k_Clipboard", ToolBarId::File, 4, false},
    {5, "m_ExportPng", "Експорт у PNG...", "Збереження зображення у файлі PNG заданого розміру", "", MenuId::File,
     nullptr, "", ToolBarId::None, -1, false},
    {6, "m_ExportSvg", "Експорт у SVG...", "Збереження зображення як малюнка SVG", "", MenuId::File, nullptr, "",
     ToolBarId::None, -1, false},
    {7, "m_ExportPdf", "Експорт у PDF...", "Збереження зображення як документа PDF", "", MenuId::File, nullptr, "",
     ToolBarId::None, -1, false},
    {8, "m_Print", "&Друк...", "Друк зображення з попереднім переглядом", "Ctrl+P", MenuId::File, "", "",
     ToolBarId::None, -1, false},
    {1001, "file1", "", "Завантаження нещодавно використаного файлу", "", MenuId::File, "", "", ToolBarId::None, -1,
     false},
    {1002, "file2", "", "Завантаження нещодавно використаного файлу", "", MenuId::File, nullptr, "", ToolBarId::None,
     -1, false},
    {1003, "file3", "", "Завантаження нещодавно використаного файлу", "", MenuId::File, nullptr, "", ToolBarId::None,
     -1, false},
    {1004, "file4", "", "Завантаження нещодавно використаного файлу", "", MenuId::File, nullptr, "", ToolBarId::None,
     -1, false},
    {1005, "file5", "", "Завантаження нещодавно використаного файлу", "", MenuId::File, nullptr, "", ToolBarId::None,
     -1, false},
    {0, "m_Exit", "Ви&хід", "Завершення роботи з програмою", "Alt+X", MenuId::File, "fileend", "", ToolBarId::None, 42,
     false},

    // Object: construction by mouse
    {11, "m_ScrPoint", "Точка", "Створення точки", "", MenuId::FromScreen, nullptr, "k_ScrPoint", ToolBarId::Make, 8,
     false},
    {12, "m_ScrMiddle", "Середня точка", "Створення середньої точки", "", MenuId::FromScreen, nullptr, "k_ScrMiddle",
     ToolBarId::Make, 9, false},
    {14, "m_ScrCross", "Точка перетину", "Створення точки перетину об'єктів", "", MenuId::FromScreen, nullptr,
     "k_ScrCross", ToolBarId::Make, 10, false},
    {15, "m_ScrSymm", "Симетрична точка", "Створення симетричної точки", "", MenuId::FromScreen, nullptr, "k_ScrSymm",
     ToolBarId::Make, 11, false},
    {16, "m_ScrLine", "Пряма", "Створення прямої за двома точками", "", MenuId::FromScreen, "", "k_ScrLine",
     ToolBarId::Make, 12, false},
    {17, "m_ScrParallel", "Паралельна пряма", "Створення паралельної прямої", "", MenuId::FromScreen, nullptr,
     "k_ScrParallel", ToolBarId::Make, 13, false},
    {18, "m_ScrPerp", "Перпендикулярна пряма", "Створення перпендикулярної прямої", "", MenuId::FromScreen, nullptr,
     "k_ScrPerp", ToolBarId::Make, 14, false},
    {19, "m_ScrBisect", "Бісектриса", "Створення бісектриси кута", "", MenuId::FromScreen, nullptr, "k_ScrBisect",
     ToolBarId::Make, 15, false},
    {20, "m_ScrTangent", "Дотичні", "Створення дотичних до кола", "", MenuId::FromScreen, nullptr, "k_ScrTangent",
     ToolBarId::Make, 16, false},
    {21, "m_ScrPolyline", "Ламана", "Створення ламаної", "", MenuId::FromScreen, "", "k_ScrPolyline", ToolBarId::Make,
     17, false},
    {22, "m_ScrCircle", "Коло", "Створення кола", "", MenuId::FromScreen, nullptr, "k_ScrCircle", ToolBarId::Make, 18,
     false},
    {23, "m_ScrPolynom", "Інтерполяційний поліном", "Створення інтерполяційного полінома", "", MenuId::FromScreen,
     nullptr, "k_ScrPolynom", ToolBarId::Make, 19, false},

    // Object: construction by parameters
    {101, "m_ParPoint", "Точка", "Створення точки за координатами", "", MenuId::ByParams, nullptr, "", ToolBarId::None,
     -1, false},
    {102, "m_ParMiddle", "Середня точка", "Створення середньої точки за параметрами", "", MenuId::ByParams, nullptr, "",
     ToolBarId::None, -1, false},
    {104, "m_ParCross", "Точка перетину", "Створення точки перетину за параметрами", "", MenuId::ByParams, nullptr, "",
     ToolBarId::None, -1, false},
    {105, "m_ParSymm", "Симетрична точка", "Створення симетричної точки за параметрами", "", MenuId::ByParams, nullptr,
     "", ToolBarId::None, -1, false},
    {106, "m_ParLine", "Пряма", "Створення прямої за параметрами", "", MenuId::ByParams, "", "", ToolBarId::None, -1,
     false},
    {107, "m_ParParallel", "Паралельна пряма", "Створення паралельної прямої за параметрами", "", MenuId::ByParams,
     nullptr, "", ToolBarId::None, -1, false},
    {108, "m_ParPerp", "Перпендикулярна пряма", "Створення перпендикулярної прямої за параметрами", "",
     MenuId::ByParams, nullptr, "", ToolBarId::None, -1, false},
    {109, "m_ParBisect", "Бісектриса", "Створення бісектриси за параметрами", "", MenuId::ByParams, nullptr, "",
     ToolBarId::None, -1, false},
    {110, "m_ParTangent", "Дотична", "Створення дотичної за параметрами", "", MenuId::ByParams, nullptr, "",
     ToolBarId::None, -1, false},
    {111, "m_ParPolyline", "Ламана", "Створення ламаної за координатами вершин", "", MenuId::ByParams, "", "",
     ToolBarId::None, -1, false},
    {112, "m_ParCircle", "Коло", "Створення кола за параметрами", "", MenuId::ByParams, nullptr, "", ToolBarId::None,
     -1, false},
    {113, "m_ParPolynom", "Інтерполяційний поліном", "Створення інтерполяційного полінома за вузлами", "",
     MenuId::ByParams, nullptr, "", ToolBarId::None, -1, false},
    {114, "m_ParGraph", "Графік функції", "Створення графіка функції", "", MenuId::ByParams, "", "", ToolBarId::None,
     46, false},

    // View
    {41, "m_ZoomIn", "Збільшити", "Збільшення зображення", "Num++", MenuId::Size, nullptr, "k_ZoomIn", ToolBarId::Zoom,
     27, false},
    {42, "m_ZoomOut", "Зменшити", "Зменшення зображення", "Num+-", MenuId::Size, nullptr, "k_ZoomOut", ToolBarId::Zoom,
     28, false},
    {43, "m_ZoomFit", "Оптимальний", "Розмір зображення, за якого видно всі об'єкти", "", MenuId::Size, nullptr,
     "k_ZoomFit", ToolBarId::Zoom, 29, false},
    {44, "m_ZoomEqu", "Відповідно до вимірювальних одиниць", "Масштаб відповідно до вимірювальних одиниць", "",
     MenuId::Size, nullptr, "k_ZoomEqu", ToolBarId::Zoom, 30, false},
    {49, "m_Animate", "Покрокове відображення", "Вивести зображення покроково", "", MenuId::View, nullptr, "k_Animate",
     ToolBarId::Zoom, 31, false},
    {491, "m_ShowGMT", "ГМТ", "Зображення геометричного місця точки", "", MenuId::View, nullptr, "k_ShowGMT",
     ToolBarId::Zoom, ImageShowGMT, false},
    {492, "ShowAll", "Зображати сховані об'єкти", "Зображати сховані об'єкти", "", MenuId::View, "", "",
     ToolBarId::None, 32, true},

    // Object: editing and transformations
    {29, "m_Undo", "Скасувати дію", "Скасування останньої дії", "Ctrl+Z", MenuId::Object, "", "k_Undo", ToolBarId::File,
     ImageUndo, false},
    {30, "m_Redo", "Повторити дію", "Повторення скасованої дії", "Ctrl+Y; Ctrl+Shift+Z", MenuId::Object, nullptr,
     "k_Redo", ToolBarId::File, ImageRedo, false},
    {27, "m_Change", "Змінити", "Зміна властивостей поточного об'єкта", "", MenuId::Object, "", "", ToolBarId::None, 21,
     false},
    {25, "m_ModeDel", "Вилучити", "Вилучення виділених об'єктів та всіх зв'язаних з ними об'єктів", "", MenuId::Object,
     nullptr, "k_ModeDel", ToolBarId::Make, 20, false},
    {302, "m_ObjParam", "Параметрично", "Перетворення об'єктів за параметрами", "", MenuId::Transform, nullptr, "",
     ToolBarId::None, 35, false},
    {303, "m_ObjMove", "Паралельне перенесення", "Паралельне перенесення об'єктів", "", MenuId::Transform, "",
     "k_ObjMove", ToolBarId::Zoom, 33, false},
    {304, "m_ObjRot", "Поворот", "Поворот об'єктів", "", MenuId::Transform, nullptr, "k_ObjRot", ToolBarId::Zoom, 34,
     false},
    {28, "m_Abort", "Припинити виконання операції", "Припинити виконання операції", "Esc", MenuId::Object, "",
     "k_Abort", ToolBarId::Zoom, 22, false},

    // Calculations
    {31, "m_Ugol", "Кут", "Обчислення кута за трьома точками", "", MenuId::Calc, nullptr, "k_Ugol", ToolBarId::Select,
     23, false},
    {32, "m_Distance", "Відстань", "Обчислення відстані між двома точками", "", MenuId::Calc, nullptr, "k_Distance",
     ToolBarId::Select, 24, false},
    {3005, "m_MeasureDel", "Вилучити з екрану", "Вилучити з екрану обчислене значення кута або відстані", "",
     MenuId::Calc, nullptr, "k_MeasureDel", ToolBarId::Select, 25, false},
    {3001, "m_Calcul", "Значення &виразу", "Обчислення значення виразу в точці", "F11", MenuId::Calc, "", "k_Calcul",
     ToolBarId::Select, 26, false},
    {3002, "m_Integral", "&Інтеграл", "Обчислення визначеного інтеграла", "", MenuId::Calc, nullptr, "",
     ToolBarId::None, 44, false},
    {3003, "m_Derivative", "&Похідна", "Обчислення похідної в точці", "", MenuId::Calc, nullptr, "", ToolBarId::None,
     45, false},
    {301, "m_CalcRotate", "Площа поверхні та об'єм тіла обертання",
     "Обчислення площі поверхні та об'єму тіла обертання", "", MenuId::Calc, "", "", ToolBarId::None, 36, false},

    // Dynamic expressions
    {33, "m_CalcMake", "Створити", "Створення динамічного виразу", "", MenuId::DynCalc, nullptr, "k_CalcMake",
     ToolBarId::DynCalc, 37, false},
    {37, "m_CalcEdit", "Змінити", "Зміна поточного динамічного виразу", "", MenuId::DynCalc, nullptr, "k_CalcEdit",
     ToolBarId::DynCalc, 38, false},
    {34, "m_CalcDel", "Вилучити", "Вилучення поточного динамічного виразу", "", MenuId::DynCalc, nullptr, "k_CalcDel",
     ToolBarId::DynCalc, 39, false},
    {35, "m_CalcFix", "Зафіксувати поточне значення", "Фіксація поточних значень динамічних виразів", "",
     MenuId::DynCalc, "", "k_CalcFix", ToolBarId::DynCalc, 40, false},
    {36, "m_CalcFixDel", "Вилучити останнє зафіксоване значення", "Вилучення останніх фіксованих значень", "",
     MenuId::DynCalc, nullptr, "k_CalcFixDel", ToolBarId::DynCalc, 41, false},
    {38, "m_CalcFixSave", "Зберегти зафіксовані значення...", "Збереження зафіксованих значень у файлі CSV", "",
     MenuId::DynCalc, nullptr, "k_CalcFixSave", ToolBarId::DynCalc, ImageCalcFixSave, false},

    // Macro-constructions
    {401, "m_MacroMake", "Створити", "Створення макроконструкції", "", MenuId::Macro, nullptr, "k_MacroMake",
     ToolBarId::Macro, ImageMacroMake, false},
    {402, "m_MacroPut", "Встановити", "Встановлення макроконструкції", "", MenuId::Macro, nullptr, "k_MacroPut",
     ToolBarId::Macro, 53, false},

    // Service and help
    {50, "m_Setup", "Налагодження", "Налагодження параметрів програми", "F9", MenuId::Service, nullptr, "k_Setup",
     ToolBarId::File, 5, false},
    {51, "m_Help", "Розділи допомоги", "Виклик довідкової системи", "F1", MenuId::Help, nullptr, "k_Help",
     ToolBarId::File, 6, false},
    {52, "m_About", "Про програму", "Відомості про програму", "", MenuId::Help, "", "", ToolBarId::None, 7, false},
};

constexpr std::size_t CommandCount = sizeof(CommandTable) / sizeof(CommandTable[0]);

} // namespace drex
