Attribute VB_Name = "Startup"
Option Explicit

' Where the program starts, and what it does first.
Public Const APP_TITLE As String = "Invoices"

Public Sub Main()
'---------------------------------------------------------------
' Startup.Main (Sub )
' Description of its utility
' Author: My name    Created: Sunday 06 December 2026
'---------------------------------------------------------------
    On Error GoTo Fail
        Load frmMain
        frmMain.Show
    Exit Sub
Fail:
    Err.Raise Err.Number, "Startup.Main", Err.Description
End Sub
