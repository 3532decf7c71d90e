Option Explicit

' Refreshes the list
Private Sub Refresh()
    List1.Clear
End Sub

Public Function Total(ByVal a As Long, _
                      ByVal b As Long) As Long
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
On Error Goto ErrorTotal



    Total = a + b
'-----------------------------------
'- End and exit
TotalNext:
Exit Function


'-----------------------------------
'Error local traitment
ErrorTotal:
Msgbox Err.Description, , "Total"
       '-Resume
Resume TotalNext
'-----------------------------------
'End
End Function

Property Get Title() As String
    Title = m_Title
End Property

Property Let Title(ByVal NewTitle As String)
    m_Title = NewTitle
End Property
