Attribute VB_Name = "Startup"
Option Explicit

' Where the program starts, and what it does first.
Public Const APP_TITLE As String = "Invoices"
Sub Refresh( )
' Refresh - Reloads the list
' {by My name}

	On Error GoTo Catch
	Exit Sub
Catch:
	MsgBox Err.Description, vbExclamation, "Refresh"
End Sub

Public Sub Main()
    Load frmMain
    frmMain.Show
End Sub
