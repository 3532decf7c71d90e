Attribute VB_Name = "Startup"
Option Explicit

' Where the program starts, and what it does first.
Public Const APP_TITLE As String = "Invoices"
Sub Refresh( )
' Refresh: Reloads the list

On Error GoTo Refresh_Error
Refresh_Exit:
    Exit Sub
Refresh_Error:
    LogError "Refresh", Err.Number, Err.Description
    Resume Next
End Sub

Public Sub Main()
    Load frmMain
    frmMain.Show
End Sub
