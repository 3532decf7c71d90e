Attribute VB_Name = "Startup"
Option Explicit

' Where the program starts, and what it does first.
Public Const APP_TITLE As String = "Invoices"
Function Total( )AS Long
' Total: Description of its utility

'-----------------------------------
'Local variables definition 




'-----------------------------------
' Start 
On Error Resume Next



'-----------------------------------
'End
End Function

Public Sub Main()
    Load frmMain
    frmMain.Show
End Sub
