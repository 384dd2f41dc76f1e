#include "plot/iPlotTable.h"

#include "platform/ui/Graphics.h"

const TClassInfo& TiPlotTable::ClassInfo() {
  using C = TiPlotTable;
  static const TClassInfo info =
      TClassInfo::Of<C, TiPlotLayoutObject>("TiPlotTable")
          .Prop("MarginLeft", &C::GetMarginLeft, &C::SetMarginLeft)
          .Prop("MarginTop", &C::GetMarginTop, &C::SetMarginTop)
          .Prop("MarginRight", &C::GetMarginRight, &C::SetMarginRight)
          .Prop("MarginBottom", &C::GetMarginBottom, &C::SetMarginBottom)
          .Prop("GridBackGroundColor", &C::GetGridBackGroundColor, &C::SetGridBackGroundColor)
          .Default(0x808080)
          .Type(ColorTypeInfo())
          .Prop("GridBackGroundTransparent", &C::GetGridBackGroundTransparent,
                &C::SetGridBackGroundTransparent)
          .Default(false)
          .Prop("GridLinesColor", &C::GetGridLinesColor, &C::SetGridLinesColor)
          .Default(0xFFFFFF)
          .Type(ColorTypeInfo())
          .Prop("GridLinesShow", &C::GetGridLinesShow, &C::SetGridLinesShow)
          .Default(true)
          .Object("DataFont", &C::GetDataFont, &C::SetDataFont)
          .Prop("ColumnSpacing", &C::GetColumnSpacing, &C::SetColumnSpacing)
          .Prop("RowSpacing", &C::GetRowSpacing, &C::SetRowSpacing)
          .Prop("RowsMax", &C::GetRowsMax, &C::SetRowsMax)
          .Default(0)
          .Prop("ColumnTitlesVisible", &C::GetColumnTitlesVisible, &C::SetColumnTitlesVisible)
          .Default(true)
          .Object("ColumnTitlesFont", &C::GetColumnTitlesFont, &C::SetColumnTitlesFont);
  return info;
}

TiPlotTable::TiPlotTable(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename,
                         const TNotifyEvent& AOnRemove, const TNotifyEvent& AOnInsert,
                         const TNotifyEvent& AOnChange)
    : TiPlotLayoutObject(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange) {
  FDataFont = std::make_unique<TFont>();
  FDataFont->SetColor(clWhite);
  FDataFont->SetStyle(TFontStyles{fsBold});
  FDataFont->OnChange = TNotifyEvent(this, &TiPlotTable::FontChanged);
  FColumnTitlesFont = std::make_unique<TFont>();
  FColumnTitlesFont->SetColor(0xFFFF00);
  FColumnTitlesFont->SetStyle(TFontStyles{fsBold});
  FColumnTitlesFont->OnChange = TNotifyEvent(this, &TiPlotTable::FontChanged);
}

TiPlotTable::~TiPlotTable() = default;
