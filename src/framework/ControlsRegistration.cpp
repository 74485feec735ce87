// Registers the control model's classes, enumerations and constants (see
// ControlsRegistration.h).
#include "framework/ControlsRegistration.h"

#include "framework/Application.h"
#include "framework/Buttons.h"
#include "framework/ClassRegistry.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/ImgList.h"
#include "framework/ListView.h"
#include "framework/TreeView.h"

namespace {

void RegisterEnums(ClassRegistry& r) {
  r.Enum<TFontStyle>("TFontStyle", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"});
  r.Enum<TFontPitch>("TFontPitch", {"fpDefault", "fpVariable", "fpFixed"});
  r.Enum<TPenStyle>("TPenStyle", {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot",
                                  "psClear", "psInsideFrame"});
  r.Enum<TPenMode>("TPenMode",
                   {"pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy", "pmMergePenNot",
                    "pmMaskPenNot", "pmMergeNotPen", "pmMaskNotPen", "pmMerge", "pmNotMerge",
                    "pmMask", "pmNotMask", "pmXor", "pmNotXor"});
  r.Enum<TBrushStyle>("TBrushStyle", {"bsSolid", "bsClear", "bsHorizontal", "bsVertical",
                                      "bsFDiagonal", "bsBDiagonal", "bsCross", "bsDiagCross"});
  r.Enum<TAlign>("TAlign", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"});
  r.Enum<TAlignment>("TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"});
  r.Enum<TTextLayout>("TTextLayout", {"tlTop", "tlCenter", "tlBottom"});
  r.Enum<TBevelCut>("TBevelCut", {"bvNone", "bvLowered", "bvRaised", "bvSpace"});
  r.Enum<TFormBorderStyle>("TFormBorderStyle", {"bsNone", "bsSingle", "bsSizeable", "bsDialog",
                                                "bsToolWindow", "bsSizeToolWin"});
  r.Enum<TBorderIcon>("TBorderIcon", {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"});
  r.Enum<TWindowState>("TWindowState", {"wsNormal", "wsMinimized", "wsMaximized"});
  r.Enum<TPosition>("TPosition",
                    {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly",
                     "poScreenCenter", "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"});
  r.Enum<TFormStyle>("TFormStyle", {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"});
  r.Enum<TCheckBoxState>("TCheckBoxState", {"cbUnchecked", "cbChecked", "cbGrayed"});
  r.Enum<TScrollStyle>("TScrollStyle", {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"});
  r.Enum<TComboBoxStyle>("TComboBoxStyle", {"csDropDown", "csSimple", "csDropDownList",
                                            "csOwnerDrawFixed", "csOwnerDrawVariable"});
  r.Enum<TBitBtnKind>("TBitBtnKind", {"bkCustom", "bkOK", "bkCancel", "bkHelp", "bkYes", "bkNo",
                                      "bkClose", "bkAbort", "bkRetry", "bkIgnore", "bkAll"});
  r.Enum<TButtonLayout>("TButtonLayout",
                        {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"});
  r.Enum<TProgressBarOrientation>("TProgressBarOrientation", {"pbHorizontal", "pbVertical"});
  r.Enum<TBevelShape>("TBevelShape", {"bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine",
                                      "bsRightLine", "bsSpacer"});
  r.Enum<TBevelStyle>("TBevelStyle", {"bsLowered", "bsRaised"});
  r.Enum<TShapeType>("TShapeType", {"stRectangle", "stSquare", "stRoundRect", "stRoundSquare",
                                    "stEllipse", "stCircle"});
  r.Enum<TViewStyle>("TViewStyle", {"vsIcon", "vsSmallIcon", "vsList", "vsReport"});
}

void RegisterConstants(ClassRegistry& r) {
  r.Constants("Colors", {{"clBlack", clBlack},
                         {"clMaroon", clMaroon},
                         {"clGreen", clGreen},
                         {"clOlive", clOlive},
                         {"clNavy", clNavy},
                         {"clPurple", clPurple},
                         {"clTeal", clTeal},
                         {"clGray", clGray},
                         {"clSilver", clSilver},
                         {"clRed", clRed},
                         {"clLime", clLime},
                         {"clYellow", clYellow},
                         {"clBlue", clBlue},
                         {"clFuchsia", clFuchsia},
                         {"clAqua", clAqua},
                         {"clWhite", clWhite},
                         {"clLtGray", clLtGray},
                         {"clDkGray", clDkGray},
                         {"clNone", clNone},
                         {"clDefault", clDefault},
                         {"clScrollBar", clScrollBar},
                         {"clBackground", clBackground},
                         {"clActiveCaption", clActiveCaption},
                         {"clInactiveCaption", clInactiveCaption},
                         {"clMenu", clMenu},
                         {"clWindow", clWindow},
                         {"clWindowFrame", clWindowFrame},
                         {"clMenuText", clMenuText},
                         {"clWindowText", clWindowText},
                         {"clCaptionText", clCaptionText},
                         {"clActiveBorder", clActiveBorder},
                         {"clInactiveBorder", clInactiveBorder},
                         {"clAppWorkSpace", clAppWorkSpace},
                         {"clHighlight", clHighlight},
                         {"clHighlightText", clHighlightText},
                         {"clBtnFace", clBtnFace},
                         {"clBtnShadow", clBtnShadow},
                         {"clGrayText", clGrayText},
                         {"clBtnText", clBtnText},
                         {"clInactiveCaptionText", clInactiveCaptionText},
                         {"clBtnHighlight", clBtnHighlight},
                         {"cl3DDkShadow", cl3DDkShadow},
                         {"cl3DLight", cl3DLight},
                         {"clInfoText", clInfoText},
                         {"clInfoBk", clInfoBk}});
  r.Constants("Charsets", {{"ANSI_CHARSET", ANSI_CHARSET},
                           {"DEFAULT_CHARSET", DEFAULT_CHARSET},
                           {"SYMBOL_CHARSET", SYMBOL_CHARSET},
                           {"MAC_CHARSET", MAC_CHARSET},
                           {"SHIFTJIS_CHARSET", SHIFTJIS_CHARSET},
                           {"HANGEUL_CHARSET", HANGEUL_CHARSET},
                           {"JOHAB_CHARSET", JOHAB_CHARSET},
                           {"GB2312_CHARSET", GB2312_CHARSET},
                           {"CHINESEBIG5_CHARSET", CHINESEBIG5_CHARSET},
                           {"GREEK_CHARSET", GREEK_CHARSET},
                           {"TURKISH_CHARSET", TURKISH_CHARSET},
                           {"VIETNAMESE_CHARSET", VIETNAMESE_CHARSET},
                           {"HEBREW_CHARSET", HEBREW_CHARSET},
                           {"ARABIC_CHARSET", ARABIC_CHARSET},
                           {"BALTIC_CHARSET", BALTIC_CHARSET},
                           {"RUSSIAN_CHARSET", RUSSIAN_CHARSET},
                           {"THAI_CHARSET", THAI_CHARSET},
                           {"EASTEUROPE_CHARSET", EASTEUROPE_CHARSET},
                           {"OEM_CHARSET", OEM_CHARSET}});
  r.Constants("ModalResults", {{"mrNone", mrNone},
                               {"mrOk", mrOk},
                               {"mrCancel", mrCancel},
                               {"mrAbort", mrAbort},
                               {"mrRetry", mrRetry},
                               {"mrIgnore", mrIgnore},
                               {"mrYes", mrYes},
                               {"mrNo", mrNo},
                               {"mrAll", mrAll},
                               {"mrNoToAll", mrNoToAll},
                               {"mrYesToAll", mrYesToAll}});
}

void RegisterGraphics(ClassRegistry& r) {
  r.Class<TGraphicsObject, TPersistent>("TGraphicsObject");
  r.Class<TFont, TGraphicsObject>("TFont")
      .Prop("Charset", &TFont::Charset, &TFont::SetCharset)
      .Idents("Charsets")
      .Prop("Color", &TFont::Color, &TFont::SetColor)
      .Idents("Colors")
      .Prop("Height", &TFont::Height, &TFont::SetHeight)
      .Prop("Name", &TFont::Name, &TFont::SetName)
      .Prop("Pitch", &TFont::Pitch, &TFont::SetPitch, fpDefault)
      .Prop("Size", &TFont::Size, &TFont::SetSize)
      .Stored(false)
      .Prop("Style", &TFont::Style, &TFont::SetStyle);
  r.Class<TPen, TGraphicsObject>("TPen")
      .Prop("Color", &TPen::Color, &TPen::SetColor, clBlack)
      .Idents("Colors")
      .Prop("Mode", &TPen::Mode, &TPen::SetMode, pmCopy)
      .Prop("Style", &TPen::Style, &TPen::SetStyle, psSolid)
      .Prop("Width", &TPen::Width, &TPen::SetWidth, 1);
  r.Class<TBrush, TGraphicsObject>("TBrush")
      .Prop("Color", &TBrush::Color, &TBrush::SetColor, clWhite)
      .Idents("Colors")
      .Prop("Style", &TBrush::Style, &TBrush::SetStyle, bsSolid);
  r.Class<TGraphic, TGraphicsObject>("TGraphic");
  r.Class<TBitmap, TGraphic>("TBitmap").Prop("Data", &TBitmap::Data, &TBitmap::SetData);
  r.Class<TIcon, TGraphic>("TIcon").Prop("Data", &TIcon::Data, &TIcon::SetData);
  r.Class<TPicture, TGraphicsObject>("TPicture").Prop("Data", &TPicture::Data, &TPicture::SetData);
  r.Class<TCanvas, TPersistent>("TCanvas");
}

void RegisterBaseControls(ClassRegistry& r) {
  r.Class<TControl, TComponent>("TControl")
      .Prop("Left", &TControl::Left, &TControl::SetLeft)
      .Prop("Top", &TControl::Top, &TControl::SetTop)
      .Prop("Width", &TControl::Width, &TControl::SetWidth)
      .Prop("Height", &TControl::Height, &TControl::SetHeight)
      .Prop("Align", &TControl::Align, &TControl::SetAlign, alNone)
      .Prop("Color", &TControl::Color, &TControl::SetColor)
      .Idents("Colors")
      .Stored(&TControl::IsColorStored)
      .Prop("Enabled", &TControl::Enabled, &TControl::SetEnabled, true)
      .Prop("Font", &TControl::Font)
      .Stored(&TControl::IsFontStored)
      .Prop("Hint", &TControl::Hint, &TControl::SetHint, "")
      .Prop("ParentColor", &TControl::ParentColor, &TControl::SetParentColor, true)
      .Prop("ParentFont", &TControl::ParentFont, &TControl::SetParentFont, true)
      .Prop("ShowHint", &TControl::ShowHint, &TControl::SetShowHint, false)
      .Prop("Visible", &TControl::Visible, &TControl::SetVisible, true)
      .Field("OnClick", &TControl::OnClick)
      .Field("OnDblClick", &TControl::OnDblClick)
      .Field("OnResize", &TControl::OnResize);
  r.Class<TWinControl, TControl>("TWinControl")
      .Prop("BorderWidth", &TWinControl::BorderWidth, &TWinControl::SetBorderWidth, 0)
      .Prop("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder, -1)
      .Prop("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop)
      .Field("OnKeyDown", &TWinControl::OnKeyDown)
      .Field("OnKeyUp", &TWinControl::OnKeyUp);
  r.Class<TGraphicControl, TControl>("TGraphicControl");
  r.Class<TCustomControl, TWinControl>("TCustomControl");
}

void RegisterStandard(ClassRegistry& r) {
  r.Class<TCustomLabel, TGraphicControl>("TCustomLabel")
      .Prop("Alignment", &TCustomLabel::Alignment, &TCustomLabel::SetAlignment, taLeftJustify)
      .Prop("AutoSize", &TCustomLabel::AutoSize, &TCustomLabel::SetAutoSize, true)
      .Prop("Caption", &TCustomLabel::Caption, &TCustomLabel::SetCaption)
      .Prop("FocusControl", &TCustomLabel::FocusControl, &TCustomLabel::SetFocusControl)
      .Prop("Layout", &TCustomLabel::Layout, &TCustomLabel::SetLayout, tlTop)
      .Prop("ShowAccelChar", &TCustomLabel::ShowAccelChar, &TCustomLabel::SetShowAccelChar, true)
      .Prop("Transparent", &TCustomLabel::Transparent, &TCustomLabel::SetTransparent, false)
      .Prop("WordWrap", &TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap, false);
  r.Class<TLabel, TCustomLabel>("TLabel");
  r.Class<TButtonControl, TWinControl>("TButtonControl");
  r.Class<TButton, TButtonControl>("TButton")
      .Prop("Caption", &TButton::Caption, &TButton::SetCaption)
      .Prop("Cancel", &TButton::Cancel, &TButton::SetCancel, false)
      .Prop("Default", &TButton::Default, &TButton::SetDefault, false)
      .Prop("ModalResult", &TButton::ModalResult, &TButton::SetModalResult, mrNone)
      .Idents("ModalResults");
  r.Class<TBitBtn, TButton>("TBitBtn")
      .Prop("Caption", &TBitBtn::Caption, &TBitBtn::SetCaption)
      .Stored(&TBitBtn::IsCustomCaption)
      .Prop("Cancel", &TBitBtn::Cancel, &TBitBtn::SetCancel, false)
      .Stored(&TBitBtn::IsCustom)
      .Prop("Default", &TBitBtn::Default, &TBitBtn::SetDefault, false)
      .Stored(&TBitBtn::IsCustom)
      .Prop("ModalResult", &TBitBtn::ModalResult, &TBitBtn::SetModalResult, mrNone)
      .Idents("ModalResults")
      .Stored(&TBitBtn::IsCustom)
      .Prop("Glyph", &TBitBtn::Glyph)
      .Prop("Kind", &TBitBtn::Kind, &TBitBtn::SetKind, bkCustom)
      .Prop("Layout", &TBitBtn::Layout, &TBitBtn::SetLayout, blGlyphLeft)
      .Prop("Margin", &TBitBtn::Margin, &TBitBtn::SetMargin, -1)
      .Prop("NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs, 1)
      .Prop("Spacing", &TBitBtn::Spacing, &TBitBtn::SetSpacing, 4);
  r.Class<TCustomEdit, TWinControl>("TCustomEdit")
      .Prop("AutoSelect", &TCustomEdit::AutoSelect, &TCustomEdit::SetAutoSelect, true)
      .Prop("BorderStyle", &TCustomEdit::BorderStyle, &TCustomEdit::SetBorderStyle, bsSingle)
      .Prop("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength, 0)
      .Prop("PasswordChar", &TCustomEdit::PasswordChar, &TCustomEdit::SetPasswordChar, "")
      .Prop("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly, false)
      .Field("OnChange", &TCustomEdit::OnChange);
  r.Class<TEdit, TCustomEdit>("TEdit").Prop("Text", &TEdit::Text, &TEdit::SetText, "");
  r.Class<TCustomMemo, TCustomEdit>("TCustomMemo")
      .Prop("Alignment", &TCustomMemo::Alignment, &TCustomMemo::SetAlignment, taLeftJustify)
      .Prop("Lines", &TCustomMemo::Lines)
      .Prop("ScrollBars", &TCustomMemo::ScrollBars, &TCustomMemo::SetScrollBars, ssNone)
      .Prop("WantReturns", &TCustomMemo::WantReturns, &TCustomMemo::SetWantReturns, true)
      .Prop("WantTabs", &TCustomMemo::WantTabs, &TCustomMemo::SetWantTabs, false)
      .Prop("WordWrap", &TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap, true);
  r.Class<TMemo, TCustomMemo>("TMemo");
  r.Class<TRichEdit, TCustomMemo>("TRichEdit")
      .Prop("HideSelection", &TRichEdit::HideSelection, &TRichEdit::SetHideSelection, true)
      .Prop("PlainText", &TRichEdit::PlainText, &TRichEdit::SetPlainText, false);
  r.Class<TCustomCheckBox, TButtonControl>("TCustomCheckBox")
      .Prop("Alignment", &TCustomCheckBox::Alignment, &TCustomCheckBox::SetAlignment,
            taRightJustify)
      .Prop("AllowGrayed", &TCustomCheckBox::AllowGrayed, &TCustomCheckBox::SetAllowGrayed, false)
      .Prop("Caption", &TCustomCheckBox::Caption, &TCustomCheckBox::SetCaption)
      .Prop("Checked", &TCustomCheckBox::Checked, &TCustomCheckBox::SetChecked, false)
      .Prop("State", &TCustomCheckBox::State, &TCustomCheckBox::SetState, cbUnchecked);
  r.Class<TCheckBox, TCustomCheckBox>("TCheckBox");
  r.Class<TRadioButton, TButtonControl>("TRadioButton")
      .Prop("Alignment", &TRadioButton::Alignment, &TRadioButton::SetAlignment, taRightJustify)
      .Prop("Caption", &TRadioButton::Caption, &TRadioButton::SetCaption)
      .Prop("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked, false);
  r.Class<TGroupButton, TRadioButton>("TGroupButton");
  r.Class<TCustomListBox, TWinControl>("TCustomListBox")
      .Prop("BorderStyle", &TCustomListBox::BorderStyle, &TCustomListBox::SetBorderStyle, bsSingle)
      .Prop("ItemHeight", &TCustomListBox::ItemHeight, &TCustomListBox::SetItemHeight, 16)
      .Prop("ItemIndex", &TCustomListBox::ItemIndex, &TCustomListBox::SetItemIndex, -1)
      .Prop("Items", &TCustomListBox::Items)
      .Prop("Sorted", &TCustomListBox::Sorted, &TCustomListBox::SetSorted, false);
  r.Class<TListBox, TCustomListBox>("TListBox");
  r.Class<TComboBox, TCustomListBox>("TComboBox")
      .Prop("DropDownCount", &TComboBox::DropDownCount, &TComboBox::SetDropDownCount, 8)
      .Prop("Style", &TComboBox::Style, &TComboBox::SetStyle, csDropDown)
      .Prop("Text", &TComboBox::Text, &TComboBox::SetText, "")
      .Field("OnChange", &TComboBox::OnChange);
  r.Class<TCustomGroupBox, TCustomControl>("TCustomGroupBox");
  r.Class<TGroupBox, TCustomGroupBox>("TGroupBox")
      .Prop("Caption", &TGroupBox::Caption, &TGroupBox::SetCaption);
  r.Class<TCustomRadioGroup, TCustomGroupBox>("TCustomRadioGroup")
      .Prop("Caption", &TCustomRadioGroup::Caption, &TCustomRadioGroup::SetCaption)
      .Prop("Columns", &TCustomRadioGroup::Columns, &TCustomRadioGroup::SetColumns, 1)
      .Prop("ItemIndex", &TCustomRadioGroup::ItemIndex, &TCustomRadioGroup::SetItemIndex, -1)
      .Prop("Items", &TCustomRadioGroup::Items);
  r.Class<TRadioGroup, TCustomRadioGroup>("TRadioGroup");
}

void RegisterExtended(ClassRegistry& r) {
  r.Class<TCustomPanel, TCustomControl>("TCustomPanel")
      .Prop("Alignment", &TCustomPanel::Alignment, &TCustomPanel::SetAlignment, taCenter)
      .Prop("BevelInner", &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner, bvNone)
      .Prop("BevelOuter", &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter, bvRaised)
      .Prop("BevelWidth", &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth, 1)
      .Prop("BorderStyle", &TCustomPanel::BorderStyle, &TCustomPanel::SetBorderStyle, bsNone)
      .Prop("Caption", &TCustomPanel::Caption, &TCustomPanel::SetCaption)
      .Prop("FullRepaint", &TCustomPanel::FullRepaint, &TCustomPanel::SetFullRepaint, true)
      .Prop("Locked", &TCustomPanel::Locked, &TCustomPanel::SetLocked, false);
  r.Class<TPanel, TCustomPanel>("TPanel");
  r.Class<TImage, TGraphicControl>("TImage")
      .Prop("AutoSize", &TImage::AutoSize, &TImage::SetAutoSize, false)
      .Prop("Center", &TImage::Center, &TImage::SetCenter, false)
      .Prop("Picture", &TImage::Picture)
      .Prop("Stretch", &TImage::Stretch, &TImage::SetStretch, false)
      .Prop("Transparent", &TImage::Transparent, &TImage::SetTransparent, false);
  r.Class<TBevel, TGraphicControl>("TBevel")
      .Prop("Shape", &TBevel::Shape, &TBevel::SetShape, bsBox)
      .Prop("Style", &TBevel::Style, &TBevel::SetStyle, bsLowered);
  r.Class<TShape, TGraphicControl>("TShape")
      .Prop("Brush", &TShape::Brush)
      .Prop("Pen", &TShape::Pen)
      .Prop("Shape", &TShape::Shape, &TShape::SetShape, stRectangle);
  r.Class<TProgressBar, TWinControl>("TProgressBar")
      .Prop("Min", &TProgressBar::Min, &TProgressBar::SetMin, 0)
      .Prop("Max", &TProgressBar::Max, &TProgressBar::SetMax, 100)
      .Prop("Orientation", &TProgressBar::Orientation, &TProgressBar::SetOrientation, pbHorizontal)
      .Prop("Position", &TProgressBar::Position, &TProgressBar::SetPosition, 0)
      .Prop("Smooth", &TProgressBar::Smooth, &TProgressBar::SetSmooth, false)
      .Prop("Step", &TProgressBar::Step, &TProgressBar::SetStep, 10);
  r.Class<TTabSheet, TWinControl>("TTabSheet")
      .Prop("Caption", &TTabSheet::Caption, &TTabSheet::SetCaption)
      .Prop("ImageIndex", &TTabSheet::ImageIndex, &TTabSheet::SetImageIndex, -1)
      .Prop("PageControl", &TTabSheet::PageControl, &TTabSheet::SetPageControl)
      .Stored(false)
      .Prop("TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible, true)
      .Prop("Visible", &TTabSheet::Visible, &TTabSheet::SetVisible, true)
      .Stored(false);  // the page control shows the active page
  r.Class<TPageControl, TWinControl>("TPageControl")
      .Prop("ActivePage", &TPageControl::ActivePage, &TPageControl::SetActivePage)
      .Prop("MultiLine", &TPageControl::MultiLine, &TPageControl::SetMultiLine, false)
      .Field("OnChange", &TPageControl::OnChange)
      .Field("OnChanging", &TPageControl::OnChanging);
  r.Class<TCustomImageList, TComponent>("TCustomImageList")
      .Prop("Bitmap", &TCustomImageList::Bitmap, &TCustomImageList::SetBitmap)
      .Prop("Height", &TCustomImageList::Height, &TCustomImageList::SetHeight, 16)
      .Prop("Width", &TCustomImageList::Width, &TCustomImageList::SetWidth, 16);
  r.Class<TImageList, TCustomImageList>("TImageList");
  r.Class<TTreeView, TWinControl>("TTreeView")
      .Prop("BorderStyle", &TTreeView::BorderStyle, &TTreeView::SetBorderStyle, bsSingle)
      .Prop("HideSelection", &TTreeView::HideSelection, &TTreeView::SetHideSelection, true)
      .Prop("Images", &TTreeView::Images, &TTreeView::SetImages)
      .Prop("Indent", &TTreeView::Indent, &TTreeView::SetIndent, 19)
      .Prop("ReadOnly", &TTreeView::ReadOnly, &TTreeView::SetReadOnly, false)
      .Prop("ShowButtons", &TTreeView::ShowButtons, &TTreeView::SetShowButtons, true)
      .Prop("ShowLines", &TTreeView::ShowLines, &TTreeView::SetShowLines, true)
      .Prop("ShowRoot", &TTreeView::ShowRoot, &TTreeView::SetShowRoot, true)
      .Prop("StateImages", &TTreeView::StateImages, &TTreeView::SetStateImages)
      .Field("OnChange", &TTreeView::OnChange)
      .Field("OnChanging", &TTreeView::OnChanging)
      .Field("OnCollapsed", &TTreeView::OnCollapsed)
      .Field("OnCollapsing", &TTreeView::OnCollapsing)
      .Field("OnExpanded", &TTreeView::OnExpanded)
      .Field("OnExpanding", &TTreeView::OnExpanding);
  r.Class<TListColumn, TCollectionItem>("TListColumn")
      .Prop("Alignment", &TListColumn::Alignment, &TListColumn::SetAlignment, taLeftJustify)
      .Prop("Caption", &TListColumn::Caption, &TListColumn::SetCaption, "")
      .Prop("Width", &TListColumn::Width, &TListColumn::SetWidth, 50);
  r.Class<TListColumns, TCollection>("TListColumns");
  r.Class<TListView, TWinControl>("TListView")
      .Prop("BorderStyle", &TListView::BorderStyle, &TListView::SetBorderStyle, bsSingle)
      .Prop("ColumnClick", &TListView::ColumnClick, &TListView::SetColumnClick, true)
      .Prop("Columns", &TListView::Columns)
      .Prop("HideSelection", &TListView::HideSelection, &TListView::SetHideSelection, true)
      .Prop("LargeImages", &TListView::LargeImages, &TListView::SetLargeImages)
      .Prop("ReadOnly", &TListView::ReadOnly, &TListView::SetReadOnly, false)
      .Prop("SmallImages", &TListView::SmallImages, &TListView::SetSmallImages)
      .Prop("StateImages", &TListView::StateImages, &TListView::SetStateImages)
      .Prop("ViewStyle", &TListView::ViewStyle, &TListView::SetViewStyle, vsIcon)
      .Field("OnChange", &TListView::OnChange);
}

void RegisterForms(ClassRegistry& r) {
  r.Class<TCustomForm, TWinControl>("TCustomForm")
      .Prop("ActiveControl", &TCustomForm::ActiveControl, &TCustomForm::SetActiveControl)
      .Prop("BorderIcons", &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons,
            TBorderIcons{biSystemMenu, biMinimize, biMaximize})
      .Prop("BorderStyle", &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle, bsSizeable)
      .Prop("Caption", &TCustomForm::Caption, &TCustomForm::SetCaption)
      .Prop("ClientHeight", &TCustomForm::ClientHeight, &TCustomForm::SetClientHeight)
      .Prop("ClientWidth", &TCustomForm::ClientWidth, &TCustomForm::SetClientWidth)
      .Prop("FormStyle", &TCustomForm::FormStyle, &TCustomForm::SetFormStyle, fsNormal)
      .Prop("Position", &TCustomForm::Position, &TCustomForm::SetPosition, poDesigned)
      .Prop("Visible", &TCustomForm::Visible, &TCustomForm::SetVisible, false)
      .Prop("WindowState", &TCustomForm::WindowState, &TCustomForm::SetWindowState, wsNormal)
      // Classic descriptions carry these; nothing here uses them.
      .Ignored("OldCreateOrder")
      .Ignored("PixelsPerInch")
      .Ignored("Scaled")
      .Ignored("TextHeight")
      .Field("OnActivate", &TCustomForm::OnActivate)
      .Field("OnClose", &TCustomForm::OnClose)
      .Field("OnCloseQuery", &TCustomForm::OnCloseQuery)
      .Field("OnCreate", &TCustomForm::OnCreate)
      .Field("OnDeactivate", &TCustomForm::OnDeactivate)
      .Field("OnDestroy", &TCustomForm::OnDestroy)
      .Field("OnHide", &TCustomForm::OnHide)
      .Field("OnPaint", &TCustomForm::OnPaint)
      .Field("OnShow", &TCustomForm::OnShow);
  r.Class<TForm, TCustomForm>("TForm");
  r.Class<TApplication, TComponent>("TApplication");
}
}  // namespace

void RegisterControls(ClassRegistry& r) {
  RegisterEnums(r);
  RegisterConstants(r);
  RegisterGraphics(r);
  RegisterBaseControls(r);
  RegisterStandard(r);
  RegisterExtended(r);
  RegisterForms(r);
}
