Option Explicit

' Refreshes the list
Private Sub Refresh()
    List1.Clear
End Sub

Public Function Total(ByVal a As Long, _
                      ByVal b As Long) As Long
    Total = a + b
End Function

Property Get Title() As String
'**********************************************************************
' Utility: Reloads the list
'
' Functions called: 
' Functions calling: 
'
'
' Programmer's name: My name
' Creation date: Sunday 06 December 2026
' Last modification:          by
'**********************************************************************
'-----------------------------------
'Local variables definition 




'-----------------------------------
' Start 
On Error Goto ErrorCaption



    Title = m_Title
'-----------------------------------
'- End and exit
CaptionNext:
Exit Property


'-----------------------------------
'Error local traitment
ErrorCaption:
Msgbox Err.Description, , "Caption"
       '-Resume
Resume CaptionNext
'-----------------------------------
'End
End Property

Property Let Title(ByVal NewTitle As String)
    m_Title = NewTitle
End Property
