# Reads back an .xlsx written by the grid export and prints what the tests
# check as JSON: the sheet's name, page header and orientation, every cell of
# the used range with its value, type, number format, font, border and fill,
# and the column widths.
import json
import sys

import openpyxl

book = openpyxl.load_workbook(sys.argv[1])
sheet = book.active
cells = {}
for row in sheet.iter_rows():
    for cell in row:
        fill = cell.fill.fgColor.rgb if cell.fill.fill_type == "solid" else None
        cells[cell.coordinate] = {
            "value": cell.value if isinstance(cell.value, (str, int, float)) else None,
            "type": cell.data_type,
            "format": cell.number_format,
            "font": cell.font.name,
            "size": cell.font.sz,
            "bold": bool(cell.font.b),
            "italic": bool(cell.font.i),
            "strike": bool(cell.font.strike),
            "border": cell.border.left.style,
            "borderColour": cell.border.left.color.rgb if cell.border.left.color else None,
            "fill": fill if isinstance(fill, str) else None,
        }
print(json.dumps({
    "sheets": book.sheetnames,
    "sheet": sheet.title,
    "header": sheet.oddHeader.center.text,
    "landscape": sheet.page_setup.orientation == "landscape",
    "cells": cells,
    "widths": {k: v.width for k, v in sheet.column_dimensions.items()},
}, ensure_ascii=False))
