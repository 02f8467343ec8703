// The editor component: a Qt widget that owns one editor window of class
// "Tivra32" and drives it with window messages only.
//
// TCustomTivra owns the window: it gives the widget a window of its own
// (the editor's parent and notify window), creates the editor inside it,
// keeps it sized to the widget, sees the editor's messages first (it
// subclasses the window) and destroys it. TTivra adds the properties, the
// events and the operations.
//
// Conventions of TTivra:
// - A property keeps the name the program uses for it: it is read with
//   Name() and written with setName(value). Every property keeps its value
//   while the window does not exist; creating the window sends them again.
// - The window is created by HandleNeeded(), or when the widget is first
//   shown. Operations send nothing while it does not exist: they then return
//   false, 0 or an empty string.
// - Events are the public std::function members On...; an empty one is not
//   called. Their first parameter is the component (the sender). No event is
//   raised while the window is being created or destroyed.
// - Strings are QString at the Qt edge, converted from and to the editor's
//   Windows-1252 bytes. The ...Bytes() variants hand the bytes over as they
//   are: documents are never transcoded.
// - Colours are COLORREF values (0x00BBGGRR, as RGB() builds them): the form
//   of the editor's device contexts and of the settings store.
// - Font is the widget's own font (QWidget::font()); it is sent to the editor
//   with WM_SETFONT. Its colour is the separate property FontColor.
#pragma once

#include "tivra.h"
#include "win32.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <string>

class QMenu;

// ---------------------------------------------------------------------------
// TCustomTivra: the window

class TCustomTivra : public QWidget {
 public:
  explicit TCustomTivra(QWidget* parent = nullptr);
  ~TCustomTivra() override;
  TCustomTivra(const TCustomTivra&) = delete;
  TCustomTivra& operator=(const TCustomTivra&) = delete;

  // The editor window, or null while it does not exist.
  HWND Handle() const { return editor_; }
  bool HandleAllocated() const { return editor_ != nullptr; }
  // Creates the editor window when it does not exist yet.
  void HandleNeeded();
  // The component's own window: the editor's parent and notify window.
  HWND NotifyHandle() const { return self_; }

 protected:
  // Window style and extended style of a new editor window, from the
  // properties (WS_CHILD and WS_VISIBLE are added).
  virtual DWORD CreationStyle() const = 0;
  virtual DWORD CreationExStyle() const = 0;
  // Right after the editor window was created, before anything is sent to
  // it: a derived component may subclass it further here.
  virtual void EditorCreated(HWND) {}
  // Sends the properties to the new window.
  virtual void WindowCreated() = 0;
  // A message to the component's own window (notifications and the
  // editor's questions to its notify window).
  virtual LRESULT NotifyMessage(UINT msg, WPARAM wParam, LPARAM lParam) = 0;
  // A message to the editor window, seen before the editor: return true
  // with result set to answer it here, false to let the editor have it.
  virtual bool EditorMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;
  // The editor window is gone (destroyed from outside the component).
  virtual void EditorDestroyed() {}

  // Passes a message on to the editor as if the component had not seen it.
  LRESULT CallEditor(UINT msg, WPARAM wParam, LPARAM lParam) const;
  // Sends a message to the editor; 0 when the window does not exist.
  LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const;
  bool Creating() const { return creating_; }
  bool Destroying() const { return destroying_; }
  // Between creation and destruction: events may be raised.
  bool Live() const { return !creating_ && !destroying_; }

  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

  // Destroys the editor window; the derived component's destructor calls
  // it while its events and fields still exist.
  void DestroyEditor();

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void SendFont();

  HWND self_ = nullptr;
  HWND editor_ = nullptr;
  WNDPROC editorProc_ = nullptr;  // the editor's procedure before ours
  HFONT font_ = nullptr;          // the font the editor uses; ours to delete
  bool creating_ = false;
  bool destroying_ = false;
};

// ---------------------------------------------------------------------------
// TTivra: properties, events and operations

enum class TBorderStyle { bsNone, bsSingle };
enum class TTivraSpaceStyle { slNone, slSmall, slMedium, slLarge };  // 0, 2, 4, 6 pixels
enum class TTivraScrollStyle { lsNone, lsHorizontal, lsVertical, lsBoth };
enum class TTivraPopupStyle { psStandard, psDelphi, psNone };
enum class TTivraInitStyle { isCustom, isFile };
// dsWindowDC: OnPaint draws into the window's own DC before the text;
// dsUseMemoryDC: into a bitmap that the editor paints the text over.
enum class TTivraPaintStyle { dsNone, dsWindowDC, dsUseMemoryDC };

class TTivra : public TCustomTivra {
 public:
  using TNotifyEvent = std::function<void(TTivra& Sender)>;
  using TWordEvent = std::function<void(TTivra& Sender, WORD WordType, LONG WordValue, const QString& WordStr)>;
  using THighlightEvent = std::function<void(TTivra& Sender, WORD WordType, LONG WordValue, const QString& WordStr,
                                             COLORREF& ForeClr, COLORREF& BackClr)>;
  using TFindBraceEvent =
      std::function<void(TTivra& Sender, WORD WordType, LONG WordValue, const QString& WordStr, int& BraceType)>;
  using TWordClickEvent =
      std::function<void(TTivra& Sender, WORD WordType, LONG WordValue, const QString& WordStr, bool& WordHandled)>;
  using TWordBreakEvent = std::function<void(TTivra& Sender, const QString& Line, int& Position)>;
  using TNotifyFoundEvent = std::function<void(TTivra& Sender, int Code, int& Response)>;
  using TReadPreviewEvent = std::function<void(TTivra& Sender, int BufLen, char*& Buffer)>;
  using TPaintEvent = std::function<void(TTivra& Sender, HDC Canvas, const RECT& ClientRect)>;
  using TPrintPageEvent = std::function<void(TTivra& Sender, HDC Canvas, int VerticalSize, int HorizontalSize,
                                             int& HeaderSize, int& FooterSize)>;
  // Key: the virtual-key code; set it to 0 to keep the key from the editor.
  using TKeyEvent = std::function<void(TTivra& Sender, WORD& Key, Qt::KeyboardModifiers Shift)>;
  // X, Y: client coordinates of the editor window.
  using TMouseEvent =
      std::function<void(TTivra& Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y)>;

  explicit TTivra(QWidget* parent = nullptr);
  ~TTivra() override;

  // --- Events raised by the editor's notifications and messages
  TNotifyEvent OnGotFocus, OnLostFocus, OnChange, OnChangeMode, OnNewFile, OnNewFont, OnSpaceError, OnMaxLine,
      OnFileError, OnClipboardError, OnHorzScroll, OnVertScroll, OnGoingToClose, OnAskIfStoreFile;
  THighlightEvent OnControlHighlight;
  TFindBraceEvent OnFindBrace;
  TWordClickEvent OnWordClick;
  TWordBreakEvent OnWordBreak;
  TNotifyFoundEvent OnNotifyFound;
  TReadPreviewEvent OnReadPreview;
  TPaintEvent OnPaint;
  TPrintPageEvent OnPrintPage;
  // Setting FileName while InitializeType is isCustom.
  TNotifyEvent OnTimeToLoadText;
  // Keys and the mouse in the editor (the window has seen a mouse message
  // when its event is raised; a key is seen first).
  TKeyEvent OnKeyDown;
  TMouseEvent OnMouseDown, OnMouseUp, OnMouseMove;
  TNotifyEvent OnDblClick;

  // --- Option bits
  bool AutoIndent() const { return optionOn(TivraOption::AutoIndent); }
  void setAutoIndent(bool on) { setOption(TivraOption::AutoIndent, on); }
  bool CurrentWordAsText() const { return optionOn(TivraOption::CurrentWordAsText); }
  void setCurrentWordAsText(bool on) { setOption(TivraOption::CurrentWordAsText, on); }
  bool DefaultSelection() const { return optionOn(TivraOption::DefaultSelection); }
  void setDefaultSelection(bool on) { setOption(TivraOption::DefaultSelection, on); }
  bool MacStyleSave() const { return optionOn(TivraOption::MacStyleSave); }
  void setMacStyleSave(bool on) { setOption(TivraOption::MacStyleSave, on); }
  bool MultiLineItems() const { return optionOn(TivraOption::MultiLineItems); }
  void setMultiLineItems(bool on) { setOption(TivraOption::MultiLineItems, on); }
  bool MultiLineStrings() const { return optionOn(TivraOption::MultiLineStrings); }
  void setMultiLineStrings(bool on);
  bool NoPrintDialog() const { return optionOn(TivraOption::NoPrintDialog); }
  void setNoPrintDialog(bool on) { setOption(TivraOption::NoPrintDialog, on); }
  bool NoPrintProgress() const { return optionOn(TivraOption::NoPrintProgress); }
  void setNoPrintProgress(bool on) { setOption(TivraOption::NoPrintProgress, on); }
  bool SingleLineStrings() const { return optionOn(TivraOption::SingleLineStrings); }
  void setSingleLineStrings(bool on);
  bool StartInComments() const { return optionOn(TivraOption::StartInComments); }
  void setStartInComments(bool on) { setOption(TivraOption::StartInComments, on); }
  bool UnixStyleSave() const { return optionOn(TivraOption::UnixStyleSave); }
  void setUnixStyleSave(bool on) { setOption(TivraOption::UnixStyleSave, on); }
  bool WrapKeys() const { return optionOn(TivraOption::WrapKeys); }
  void setWrapKeys(bool on) { setOption(TivraOption::WrapKeys, on); }

  // --- Properties decided by style bits at creation
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void setBorderStyle(TBorderStyle style);
  bool Ctl3D() const { return ctl3D_; }
  void setCtl3D(bool on);
  bool TabStop() const { return tabStop_; }
  void setTabStop(bool on);
  bool CanChangeFile() const { return canChangeFile_; }
  void setCanChangeFile(bool on);
  bool CanChangeFont() const { return canChangeFont_; }
  void setCanChangeFont(bool on);
  bool HasFile() const { return hasFile_; }
  void setHasFile(bool on);
  bool Highlight() const { return highlight_; }
  void setHighlight(bool on);
  TTivraPaintStyle PaintMode() const { return paintMode_; }
  void setPaintMode(TTivraPaintStyle mode);
  bool ReadOnly() const { return readOnly_; }
  void setReadOnly(bool on);
  TTivraSpaceStyle ExtraHorzSpacing() const { return horzSpacing_; }
  void setExtraHorzSpacing(TTivraSpaceStyle spacing);
  TTivraSpaceStyle ExtraVertSpacing() const { return vertSpacing_; }
  void setExtraVertSpacing(TTivraSpaceStyle spacing);
  TTivraScrollStyle ScrollBars() const { return scrollBars_; }
  void setScrollBars(TTivraScrollStyle bars);
  int WordWrapRMargin() const { return rightMargin_; }
  void setWordWrapRMargin(int pixels);  // 0...15

  // --- Other properties
  COLORREF BackColorSelected() const { return backColorSelected_; }
  void setBackColorSelected(COLORREF colour);
  COLORREF ForeColorSelected() const { return foreColorSelected_; }
  void setForeColorSelected(COLORREF colour);
  // The text and background colours of unselected text (Font.Color and
  // Color); the highlight event starts from them.
  COLORREF FontColor() const { return fontColor_; }
  void setFontColor(COLORREF colour);
  COLORREF Color() const { return color_; }
  void setColor(COLORREF colour);
  int BookmarksMax() const { return bookmarksMax_; }
  void setBookmarksMax(int count);  // 1...256
  int CaretWidth() const { return caretWidth_; }
  void setCaretWidth(int width);
  QString DefaultExt() const { return defaultExt_; }
  void setDefaultExt(const QString& extension);
  QString FileMask() const { return fileMask_; }
  void setFileMask(const QString& mask);
  QString FileName() const { return fileName_; }
  void setFileName(const QString& name);
  TTivraInitStyle InitializeType() const { return initializeType_; }
  void setInitializeType(TTivraInitStyle type);
  int GroupNumber() const { return groupNumber_; }
  void setGroupNumber(int number);
  TTivraPopupStyle HasMenu() const { return hasMenu_; }
  void setHasMenu(TTivraPopupStyle style) { hasMenu_ = style; }
  QMenu* PopupMenu() const { return popupMenu_; }
  void setPopupMenu(QMenu* menu) { popupMenu_ = menu; }
  bool InsertMode() const { return insertMode_; }
  void setInsertMode(bool on);
  bool ExtraComments() const { return extraComments_; }
  void setExtraComments(bool on);
  bool Item2AsComment() const { return item2AsComment_; }
  void setItem2AsComment(bool on);
  QString Syntax() const { return syntax_; }
  void setSyntax(const QString& description);  // at most 255 characters
  QString PrintJobName() const { return printJobName_; }
  void setPrintJobName(const QString& name);
  int TabStopSize() const { return tabStopSize_; }
  void setTabStopSize(int size);  // 1...40
  // Negative or above the window's largest depth: the largest depth.
  int UndoDepth() const { return undoDepth_; }
  void setUndoDepth(int depth);
  bool WantReturns() const { return wantReturns_; }
  void setWantReturns(bool on) { wantReturns_ = on; }
  bool WantTabs() const { return wantTabs_; }
  void setWantTabs(bool on) { wantTabs_ = on; }
  bool WordWrap() const { return wordWrap_; }
  void setWordWrap(bool on);
  bool WordWrapAuto() const { return wordWrapAuto_; }
  void setWordWrapAuto(bool on);
  int WordWrapWidth() const { return wordWrapWidth_; }
  void setWordWrapWidth(int pixels);
  static LONG Version() { return TivraVer(); }

  // The whole text. Reading an empty editor asks only for the length.
  QString Text() const;
  void setText(const QString& text);
  std::string TextBytes() const;
  void setTextBytes(const std::string& text);
  // The text with the line ends saving writes (UnixStyleSave, MacStyleSave):
  // the bytes its file gets.
  std::string SavedTextBytes() const;
  // How many lines longer than the editor takes the text last loaded or set
  // held (kept as pieces, and saved whole).
  int LongLines() const;

  // The view
  int FirstVisibleLine() const;
  void setFirstVisibleLine(int line);
  int FirstVisiblePos() const;
  void setFirstVisiblePos(int column);
  int Skip() const;  // first visible sub-line of the top line
  void setSkip(int subLine);

  // The component's copy of a range, used by GetSelection, SetSelection and
  // FindInRange. Lines below 1 become 1.
  int StartLine() const { return range_.StartLine; }
  void setStartLine(int line);
  int StartPos() const { return range_.StartPos; }
  void setStartPos(int column);
  int EndLine() const { return range_.EndLine; }
  void setEndLine(int line);
  int EndPos() const { return range_.EndPos; }
  void setEndPos(int column);

  // The modified-bit index that Modified and SetModified use: 0 at
  // construction; the editor refuses SetModified below 2.
  int ModifiedBit() const { return modifiedBit_; }
  void setModifiedBit(int bit) { modifiedBit_ = bit; }

  // --- Operations
  bool CanUndo() const;
  bool CanRedo() const;
  void Undo();
  void Redo();
  void Cut();
  void Copy();
  void Paste();
  void ClearSelection();
  void ClearAll();
  void EmptyUndoBuffer();
  void SelectAll();
  void FindDialog();
  void FindNext();
  void ReplaceDialog();
  void GotoLineDialog();
  void PrintText();
  void PrintSetup();
  void NewText();
  void GetSelection();
  void SetSelection();
  int SelLength() const;
  QString SelText() const;
  std::string SelTextBytes() const;
  // With the window: replaces the selection. Before it: inserted when the
  // window is created.
  void setSelText(const QString& text);
  int LineCount() const;
  int LineLength(int line) const;
  QString GetLineText(int line) const;
  std::string GetLineBytes(int line) const;
  bool Modified() const;
  void SetModified(bool modified);
  void InsertText(const QString& text);
  void InsertBytes(const std::string& text);
  void AppendText(const QString& text);
  // Line n with its line end (n below 1: line 1; the last line: its text);
  // a line beyond the last is no line, and nothing happens.
  void DeleteLineAt(int line);
  // Results of the editor's find message: nonzero when found; for
  // ReplaceAll the number of replacements; -1 without a find text.
  int Find(const QString& text);
  int FindInRange(const QString& text);
  int Replace(const QString& text, const QString& replacement);
  int ReplaceAll(const QString& text, const QString& replacement);
  // 0: search upwards; 2: downwards with wrap around; others: downwards.
  void SetFindDirection(int kind);
  // 0 when a token lies at the caret (then in Token()), 4 when none.
  int TokenAtCaret();
  const TivraToken& Token() const { return token_; }
  // The text position at a client point: false outside the text.
  bool PositionFromPoint(int x, int y, int& line, int& column) const;
  // File names must be representable in Windows-1252; others are refused.
  bool SaveFile(const QString& name);
  bool LoadFile(const QString& name);

 protected:
  DWORD CreationStyle() const override;
  DWORD CreationExStyle() const override;
  void WindowCreated() override;
  LRESULT NotifyMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  bool EditorMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void EditorDestroyed() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool optionOn(WORD bit) const { return (options_ & bit) != 0; }
  void setOption(WORD bit, bool on);
  void sendOption(WORD bit) const;
  void sendSyntax() const;
  void sendLayout() const;
  void sendWordWrap() const;
  void sendUndoDepth();
  void sendFileFilter() const;
  void sendInitialization();
  std::string textWithLineEnds(WPARAM form) const;
  void applyStyleBit(DWORD bit, bool on);
  void keepMenus();
  void joinGroup();
  void repaintEditor() const;
  bool sendFileName(UINT msg, const QString& name) const;
  void askAndLoadFile();
  void setFindTexts(const QString& text, const QString* replacement);

  LRESULT answerNotification(WORD code);
  LRESULT colourWord(HDC dc, const TivraToken* token);
  LRESULT paintNotification(HDC dc, const RECT* rect);
  LRESULT classifyBrace(const TivraToken* token);
  LRESULT wordClicked(const TivraToken* token);
  LRESULT wordBreak(WPARAM length, const char* line);
  LRESULT printPage(HDC dc, LPARAM sizes);
  LRESULT readPreview(WPARAM length, char** block);
  bool keyDown(UINT msg, WPARAM& key);
  bool mouseMessage(UINT msg, WPARAM keys, LPARAM point, LRESULT& result);
  void showPopup(POINT screenPoint, bool fromKeyboard);
  LRESULT dialogCode() const;
  void raise(const TNotifyEvent& event);

  WORD options_ = TivraOption::DefaultSelection | TivraOption::WrapKeys;
  TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
  bool ctl3D_ = true;
  bool tabStop_ = true;
  bool canChangeFile_ = true;
  bool canChangeFont_ = true;
  bool hasFile_ = false;
  bool highlight_ = false;
  TTivraPaintStyle paintMode_ = TTivraPaintStyle::dsNone;
  bool readOnly_ = false;
  TTivraSpaceStyle horzSpacing_ = TTivraSpaceStyle::slNone;
  TTivraSpaceStyle vertSpacing_ = TTivraSpaceStyle::slNone;
  TTivraScrollStyle scrollBars_ = TTivraScrollStyle::lsNone;
  int rightMargin_ = 0;
  COLORREF backColorSelected_;
  COLORREF foreColorSelected_;
  COLORREF fontColor_;
  COLORREF color_;
  int bookmarksMax_ = 1;
  int caretWidth_ = 0;
  QString defaultExt_ = QStringLiteral("TXT");
  QString fileMask_;
  QString fileName_;
  TTivraInitStyle initializeType_ = TTivraInitStyle::isCustom;
  int groupNumber_ = 0;
  HWND group_ = nullptr;  // the group window joined
  TTivraPopupStyle hasMenu_ = TTivraPopupStyle::psDelphi;
  QMenu* popupMenu_ = nullptr;
  bool insertMode_ = true;
  bool extraComments_ = false;
  bool item2AsComment_ = false;
  QString syntax_;
  QString printJobName_;
  std::string printJobNameBytes_;
  int tabStopSize_ = 1;
  int undoDepth_ = -1;
  bool wantReturns_ = true;
  bool wantTabs_ = false;
  bool wordWrap_ = false;
  bool wordWrapAuto_ = true;
  int wordWrapWidth_ = 0;
  std::string text_;     // while the window does not exist
  std::string selText_;  // inserted at creation
  TivraRange range_{0, 0, 1, 1};
  int modifiedBit_ = 0;
  TivraToken token_{};
  HMENU filePopup_ = nullptr;       // the context menu's "&Filer" popup
  HMENU functionsPopup_ = nullptr;  // its "F&unktioner" popup
  bool filePopupShown_ = false;     // the file popup is in the context menu
  HBRUSH backgroundBrush_ = nullptr;
  HBITMAP paintBitmap_ = nullptr;
  SIZE paintBitmapSize_{0, 0};
};
