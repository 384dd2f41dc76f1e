object Fixture: TTestRoot
  Tag = 3
  object First: TTestGadget
    Caption = 'From the program'
    OnChange = GadgetChange
  end
end
