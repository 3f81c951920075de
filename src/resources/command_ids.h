#pragma once

// Every command of the program is a number shared by menus, accelerators,
// toolbar buttons, status-bar prompts and tool tips. The numbers are part of
// the program's vocabulary (stored toolbar layouts refer to them), so they
// never change.
namespace Cmd {
enum : int {
    // Application
    TipOfTheDay = 110,
    FullWidthSpace = 142,

    // Headings drop-down, tools
    HeadingMenu = 32771,
    BrowserPreview = 32789,
    RegisteredTagList = 32820,
    ToolList = 32821,
    RefreshColors = 32840,
    Options = 32841,
    CustomizeToolbar = 32842,
    ReinsertTag = 32849,
    CaptureTag = 32850,
    RegisteredTagMenu = 32854,
    HomePage = 32855,
    AutoSelect = 32856,
    ToolMenu = 32908,
    Jump = 32922,
    InsertFile = 32923,
    CloseLastTag = 32925,
    ToggleExtendedToolbar = 32926,
    CustomizeExtendedToolbar = 32927,
    OpenFolder = 32932,
    DeleteHistory = 32934,

    // Direct wrap commands
    Address = 35004,
    Bold = 35005,
    Italic = 35006,
    Underline = 35007,
    Strike = 35008,
    Big = 35009,
    Small = 35010,
    Sup = 35011,
    Sub = 35012,
    Emphasis = 35013,
    Strong = 35014,
    Code = 35015,
    Sample = 35016,
    Keyboard = 35017,
    Variable = 35018,
    Definition = 35019,
    Cite = 35020,
    AlignLeft = 35021,
    Center = 35022,
    AlignRight = 35023,
    Preformatted = 35024,
    BlockQuote = 35025,
    NoBreak = 35026,
    Comment = 35027,
    Heading1 = 35028,
    Heading6 = 35033,
    TableRow = 35506,
    TableData = 35507,
    TableHeader = 35508,
    TableCaption = 35509,
    ListItem = 35510,
    DefinitionTerm = 35511,
    DefinitionData = 35512,
    DoubleStrike = 35513,
    Blink = 35514,
    Teletype = 35515,

    // Wrap dialogs
    DocumentInfo = 35499,
    Link = 35500,
    SameDocLink = 35501,
    Bookmark = 35502,
    MailLink = 35503,
    FontTag = 35504,
    HeadingDialog = 35505,
    FormArea = 35600,
    SelectArea = 35601,

    // Direct insert commands
    LineBreak = 36000,
    Paragraph = 36001,
    Rule = 36002,
    EntityLt = 36003,
    EntityGt = 36004,
    EntityAmp = 36005,
    EntityQuot = 36006,

    // Insert dialogs and the date
    Date = 37000,
    Image = 37001,
    RuleDialog = 37002,
    List = 37003,
    Table = 37004,
    LineInput = 37005,
    TextArea = 37006,
    SubmitButton = 37007,
    ResetButton = 37008,
    CheckBox = 37009,
    RadioButton = 37010,
    OptionItem = 37011,

    // Registered tags and tools (slots 0 to 9)
    RegisteredTag0 = 40000,
    RegisteredTag9 = 40009,
    Tool0 = 40010,
    Tool9 = 40019,

    // Standard framework commands
    FileNew = 57600,
    FileOpen = 57601,
    FileClose = 57602,
    FileSave = 57603,
    FileSaveAs = 57604,
    RecentFile1 = 57616,
    RecentFile9 = 57624,
    EditClear = 57632,
    EditCopy = 57634,
    EditCut = 57635,
    EditFind = 57636,
    EditPaste = 57637,
    EditFindNext = 57640,
    EditReplace = 57641,
    EditSelectAll = 57642,
    EditUndo = 57643,
    WindowArrange = 57649,
    WindowCascade = 57650,
    WindowTileHorz = 57651,
    WindowTileVert = 57652,
    AppAbout = 57664,
    AppExit = 57665,
    HelpFinder = 57667,
    ContextHelp = 57669,
    Help = 57670,
    DefaultHelp = 57671,
    NextPane = 57680,
    PrevPane = 57681,
    ViewToolbar = 59392,
    ViewStatusBar = 59393,

    // Entries of the window menu's list of open document windows
    FirstMdiChild = 65280,
};
} // namespace Cmd

// Ids of the control bars and status panes.
namespace BarId {
enum : int {
    StandardToolbar = 59392,
    ExtendedToolbar = 57348,
    StatusBar = 59393,
    PaneCaret = 300,
    PaneHtmlLevel = 301,
    PaneTag = 302,
};
} // namespace BarId
