Attribute VB_Name = "Startup"
Option Explicit

' Where the program starts, and what it does first.
Public Const APP_TITLE As String = "Invoices"

Public Sub Main()
' Main: Description of its utility
On Error GoTo Main_Error
    Load frmMain
    frmMain.Show
Main_Exit:
    Exit Sub
Main_Error:
    LogError "Main", Err.Number, Err.Description
    Resume Next
End Sub
