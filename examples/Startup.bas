Attribute VB_Name = "Startup"
Option Explicit

' Where the program starts, and what it does first.
Public Const APP_TITLE As String = "Invoices"

Public Sub Main()
    Load frmMain
    frmMain.Show
End Sub
