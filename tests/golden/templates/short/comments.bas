Attribute VB_Name = "Startup"
Option Explicit

' Where the program starts, and what it does first.
Public Const APP_TITLE As String = "Invoices"

Public Sub Main()
' Main - Description of its utility
' {by My name}
	On Error GoTo Catch
	    Load frmMain
	    frmMain.Show
	Exit Sub
Catch:
	MsgBox Err.Description, vbExclamation, "Main"
End Sub
