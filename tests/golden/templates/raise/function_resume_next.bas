Attribute VB_Name = "Startup"
Option Explicit

' Where the program starts, and what it does first.
Public Const APP_TITLE As String = "Invoices"
Function Total( )AS Long
'---------------------------------------------------------------
' Startup.Total (Function )
' Description of its utility
' Author: My name    Created: Sunday 06 December 2026
'---------------------------------------------------------------

    On Error Resume Next
End Function

Public Sub Main()
    Load frmMain
    frmMain.Show
End Sub
