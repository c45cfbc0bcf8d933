#!/usr/bin/env python3
"""Reads an .xlsx workbook as a spreadsheet would and prints it as JSON: the sheet's name, the
frozen cell, the header row (bold or not), each column's width, and every cell of the rows under
it as "kind value": "texte 09001", "montant 28.55" (a number shown with two decimals),
"nombre 2" (a whole number in the general format), "date 2026-11-03", or "vide"."""
import datetime
import json
import sys

import openpyxl


def cellule(c):
    if c.value is None:
        return "vide"
    if isinstance(c.value, datetime.datetime):
        return ("date " if c.number_format == "yyyy-mm-dd" else "date? %s " % c.number_format) + c.value.date().isoformat()
    if c.data_type == "s":
        return "texte " + c.value
    if c.data_type == "n":
        if c.number_format == "0.00":
            return "montant %.2f" % c.value
        if c.number_format == "General" and float(c.value).is_integer():
            return "nombre %d" % c.value
        return "nombre? %s %r" % (c.number_format, c.value)
    return "%s? %r" % (c.data_type, c.value)


classeur = openpyxl.load_workbook(sys.argv[1])
feuille = classeur.worksheets[0]
lignes = list(feuille.iter_rows())
entetes = lignes[0] if lignes else []
print(json.dumps({
    "feuille": feuille.title,
    "gel": feuille.freeze_panes,
    "entetes": [c.value for c in entetes],
    "gras": all(c.font.b for c in entetes),
    "largeurs": [feuille.column_dimensions[c.column_letter].width for c in entetes],
    "lignes": [[cellule(c) for c in ligne] for ligne in lignes[1:]],
}, ensure_ascii=False))
