// OLE drag and drop for the advanced grid: a data object carrying text, rich text or a column
// index with its format enumerator, a reader of dragged data objects, and the generic drop target
// and drop source whose hooks the grid's own target and source fill in.
//
// Thread contract: UI thread only (drags run in the program's own modal drag loop).
//
// Sections: formats / data object and enumerator / reading dragged data / drop target and
// source / the grid's target and source.
#pragma once

#include <string>

#include "grid/AdvGrid.h"
#include "platform/os/ole/Ole.h"
#include "platform/runtime/Lists.h"

// ============================================================================ formats =========

// What a dragged data object offers, as bits.
constexpr int32_t kDragText = 1, kDragFiles = 2, kDragColumn = 4, kDragRTF = 8;

// The registered formats "Rich Text Format" and "Grid Column" (a 32-bit column index).
CLIPFORMAT RTFClipboardFormat();
CLIPFORMAT ColumnClipboardFormat();
// Rich text is offered and taken by every grid once any grid's OleDropRTF is set.
bool OleRTFAccepted();
void SetOleRTFAccepted(bool Value);

// ============================================================================ data object and
// enumerator

// Lists CF_TEXT, CF_UNICODETEXT, "Rich Text Format" and, with a column, "Grid Column".
class TSourceEnumFormatEtc : public TInterfacedBase<IEnumFORMATETC> {
 public:
  TSourceEnumFormatEtc(bool HasColumn, ULONG Position = 0);
  HRESULT Next(ULONG Count, FORMATETC* Out, ULONG* Fetched) override;
  HRESULT Skip(ULONG Count) override;
  HRESULT Reset() override;
  HRESULT Clone(IEnumFORMATETC** Out) override;

 private:
  ULONG Size() const { return hasColumn_ ? 4 : 3; }
  bool hasColumn_;
  ULONG pos_;
};

// The data of one drag: a text (with its rich text) or a column index (-1: none).
class TSourceDataObject : public TInterfacedBase<IDataObject> {
 public:
  TSourceDataObject(const AnsiString& Text, const AnsiString& RTF, int32_t Column)
      : text_(Text), rtf_(RTF), column_(Column) {}
  HRESULT GetData(FORMATETC* Format, STGMEDIUM* Medium) override;
  HRESULT GetDataHere(FORMATETC* Format, STGMEDIUM* Medium) override;
  HRESULT QueryGetData(FORMATETC* Format) override;
  HRESULT GetCanonicalFormatEtc(FORMATETC* In, FORMATETC* Out) override;
  HRESULT SetData(FORMATETC* Format, STGMEDIUM* Medium, BOOL Release) override;
  HRESULT EnumFormatEtc(DWORD Direction, IEnumFORMATETC** Out) override;
  HRESULT DAdvise(FORMATETC* Format, DWORD Flags, IAdviseSink* Sink, DWORD* Connection) override;
  HRESULT DUnadvise(DWORD Connection) override;
  HRESULT EnumDAdvise(IEnumSTATDATA** Out) override;

 private:
  // The bytes of an offered format; false for any other.
  bool Bytes(const FORMATETC& Format, std::string& Out) const;
  AnsiString text_, rtf_;
  int32_t column_;
};

// ============================================================================ reading dragged data

// A dragged data object read through its format enumerator.
class TEnumFormats : public TObject {
 public:
  // Raises EAssertionFailed "Cannot get the format enumerator" when the object gives none.
  explicit TEnumFormats(IDataObject* DataObject);
  ~TEnumFormats() override;
  TEnumFormats(const TEnumFormats&) = delete;
  TEnumFormats& operator=(const TEnumFormats&) = delete;
  // Listed by the enumerator and given by the object.
  bool HasFormat(CLIPFORMAT Format);
  // The first 32 bits of the format's block; -1 when it is not there.
  int32_t GetFormatInteger(CLIPFORMAT Format);
  // The block up to its first zero byte; empty when it is not there.
  AnsiString GetFormatText(CLIPFORMAT Format);
  // The names of a dropped file list into FileList; true when there was at least one.
  bool GetFileList();
  TStringList* FileList() { return &files_; }
  bool HasText() { return HasFormat(CF_TEXT); }
  bool HasRTF() { return HasFormat(RTFClipboardFormat()); }
  bool HasColumn() { return HasFormat(ColumnClipboardFormat()); }
  bool HasFiles() { return HasFormat(CF_HDROP); }
  AnsiString Text() { return GetFormatText(CF_TEXT); }
  AnsiString RTF() { return GetFormatText(RTFClipboardFormat()); }
  int32_t ColumnIndex() { return GetFormatInteger(ColumnClipboardFormat()); }

 private:
  bool Fetch(CLIPFORMAT Format, STGMEDIUM& Medium);
  IDataObject* data_;
  IEnumFORMATETC* formats_ = nullptr;
  FORMATETC current_;
  TStringList files_;
};

// ============================================================================ drop target and
// source

// Takes drops of text, rich text, files and columns; the hooks do the work.  Points are screen
// points.
class TASGDropTarget : public TInterfacedBase<IDropTarget> {
 public:
  HRESULT DragEnter(IDataObject* Data, DWORD KeyState, POINTL Pt, DWORD* Effect) override;
  HRESULT DragOver(DWORD KeyState, POINTL Pt, DWORD* Effect) override;
  HRESULT DragLeave() override;
  HRESULT Drop(IDataObject* Data, DWORD KeyState, POINTL Pt, DWORD* Effect) override;

  bool AcceptText = true, AcceptFiles = true, AcceptColumns = false;
  bool Accepted() const { return accepted_; }
  int32_t Formats() const { return formats_; }

 protected:
  virtual void TextDropped(TPoint /*Pt*/, const AnsiString& /*Text*/) {}
  virtual void ColumnDropped(TPoint /*Pt*/, int32_t /*Column*/) {}
  virtual void RTFDropped(TPoint /*Pt*/, const AnsiString& /*RTF*/) {}
  virtual void FilesDropped(TPoint /*Pt*/, TStrings* /*Files*/) {}
  virtual void DragMoved(TPoint /*Pt*/, bool& /*Allow*/, int32_t /*Formats*/) {}
  virtual void DragEntered() {}
  virtual void DragLeft() {}

 private:
  bool accepted_ = false;
  int32_t formats_ = 0;
};

// Drives the drag: Escape cancels, releasing the left button drops.
class TASGDropSource : public TInterfacedBase<IDropSource> {
 public:
  HRESULT QueryContinueDrag(BOOL EscapePressed, DWORD KeyState) override;
  HRESULT GiveFeedback(DWORD Effect) override;
  // Both answer DRAGDROP_S_CANCEL when the last feedback had no effect, else the drag loop's
  // answer, with the final effect.
  HRESULT StartTextDrag(const AnsiString& Text, const AnsiString& RTF, DWORD AllowedEffects, DWORD& Effect);
  HRESULT StartColumnDrag(int32_t Column, DWORD AllowedEffects, DWORD& Effect);

 protected:
  virtual void EffectChanged(DWORD /*Effect*/) {}
  virtual void DragPolled() {}

 private:
  HRESULT Run(TSourceDataObject* Data, DWORD AllowedEffects, DWORD& Effect);
  bool noEffect_ = false;
};

// ============================================================================ the grid's target
// and source

class TGridDropTarget : public TASGDropTarget {
 public:
  explicit TGridDropTarget(TAdvStringGrid* AGrid) : grid_(AGrid) {}
  // Takes the grid's current accept settings first.
  HRESULT DragEnter(IDataObject* Data, DWORD KeyState, POINTL Pt, DWORD* Effect) override;

 protected:
  void TextDropped(TPoint Pt, const AnsiString& Text) override;
  void ColumnDropped(TPoint Pt, int32_t Column) override;
  void RTFDropped(TPoint Pt, const AnsiString& RTF) override;
  void FilesDropped(TPoint Pt, TStrings* Files) override;
  void DragMoved(TPoint Pt, bool& Allow, int32_t Formats) override;
  void DragLeft() override;

 private:
  // The cell under a screen point; (-1, -1) off the cells.
  TGridCoord CellAt(TPoint Pt);
  TAdvStringGrid* grid_;
};

class TGridDropSource : public TASGDropSource {
 public:
  explicit TGridDropSource(TAdvStringGrid* AGrid) : grid_(AGrid) {}
  // The last copy or move effect the feedback reported.
  DWORD LastEffect() const { return lastEffect_; }
  // While a column is dragged its header follows the cursor.
  bool FollowCursor = false;

 protected:
  void EffectChanged(DWORD Effect) override;
  void DragPolled() override;

 private:
  TAdvStringGrid* grid_;
  DWORD lastEffect_ = DROPEFFECT_NONE;
};
