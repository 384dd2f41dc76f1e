inherited Fixture: TTestDerivedRoot
  Tag = 4
  inherited First: TTestGadget
    Count = 2
  end
  object Second: TTestGadget
    Buddy = First
  end
end
