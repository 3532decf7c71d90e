Attribute VB_Name = "Startup"
Option Explicit

' Where the program starts, and what it does first.
Public Const APP_TITLE As String = "Invoices"
Sub Refresh( )
'---------------------------------------------------------------
' Startup.Refresh (Sub )
' Reloads the list
' Author: My name    Created: Sunday 06 December 2026
'---------------------------------------------------------------

    On Error GoTo Fail
    Exit Sub
Fail:
    Err.Raise Err.Number, "Startup.Refresh", Err.Description
End Sub

Public Sub Main()
    Load frmMain
    frmMain.Show
End Sub
