// The plot's translation table: every text the plot shows on its own passes through it.  It maps
// an original text (matched exactly) to a replacement; the newest pair for a text wins.  The table
// is filled from the plot's stored definition.
//
// Thread contract: UI thread only.
#pragma once

#include <vector>

#include "platform/runtime/Persistent.h"

class TReader;
class TWriter;

// One pair.  Creating it inserts it into the table (through the insert handler), freeing it
// takes it out (remove handler).
class TiPlotTranslationObject final : public TPersistent {
  PL_CLASS(TiPlotTranslationObject)
 public:
  TiPlotTranslationObject(const TNotifyEvent& AOnRemove, const TNotifyEvent& AOnInsert);
  ~TiPlotTranslationObject() override;

  const AnsiString& GetOriginalString() const { return FOriginalString; }
  void SetOriginalString(const AnsiString& Value) { FOriginalString = Value; }
  const AnsiString& GetReplacementString() const { return FReplacementString; }
  void SetReplacementString(const AnsiString& Value) { FReplacementString = Value; }

 private:
  AnsiString FOriginalString = "Unknown";
  AnsiString FReplacementString = "Unknown";
  TNotifyEvent FOnRemove;
};

class TiPlotTranslationManager : public TObject {
  PL_CLASS(TiPlotTranslationManager)
 public:
  // Raises Exception "OnInsert event handler can not be null", then "OnRemove ...".
  TiPlotTranslationManager(const TNotifyEvent& AOnRemove, const TNotifyEvent& AOnInsert);
  // Frees every pair, then calls the remove handler with the manager.
  ~TiPlotTranslationManager() override;
  // Tells the insert handler about the manager (the master manager calls it after construction).
  void AfterConstruction();

  void Clear();
  // Frees pair Index (0 is the newest); raises EStringListError for a bad index.
  void DeletePair(int32_t Index);
  int32_t Count() const { return int32_t(FPairs.size()); }
  TiPlotTranslationObject* Pairs(int32_t Index) const;
  bool HasItems() const { return Count() != 0; }
  // Puts Pair in front of the others unless it is in the table already.
  void AddPair(TiPlotTranslationObject* Pair);
  void RemovePair(TiPlotTranslationObject* Pair);
  // The replacement of the newest pair whose original equals Text byte for byte, else Text.
  AnsiString TranslateText(const AnsiString& Text) const;

  // The pairs oldest first, so that reading them back (each read pair goes in front) gives the
  // same order and the same winner for a text.
  void WriteCollection(TWriter* Writer);
  // Replaces the pairs with the stored ones.
  void ReadCollection(TReader* Reader);
  // A new pair with both texts; it joins the table through the insert handler.
  TiPlotTranslationObject* NewPair(const AnsiString& Original, const AnsiString& Replacement);

 private:
  std::vector<TiPlotTranslationObject*> FPairs;  // newest first
  TNotifyEvent FOnRemove, FOnInsert;
};
