inherited Broken: TTestBrokenRoot
  object Second: TTestGadget
    Shape = shHexagon
  end
end
